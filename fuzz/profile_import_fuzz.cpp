// A user without a settings file is imported from the profile: any profile contents give a file
// that loads back to the same record, and the custom-lesson lists never outgrow the values stored.
// Input: "[Section]" lines open a section, "name=value" lines add a value to it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "support/fakes.h"
#include "support/test_util.h"
#include "users/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kibiki::test::TempFolder folder("kibiki_profile_fuzz");
    static const std::string dir = folder.Path() + "/";

    kibiki::FakeProfile profile;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string section;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
        } else if (const auto eq = line.find('='); eq != std::string_view::npos) {
            profile.m_sections[section].emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    std::filesystem::remove(dir + "fuzz.dat");

    kibiki::CUserSettings imported(&profile);
    imported.SetFolder(dir);
    imported.SetFlushToDisk(false);
    imported.LoadUser("fuzz");
    const auto& original = profile.m_sections["Original"];
    if (imported.m_aNo.size() > original.size() || imported.m_aFile.size() > original.size()) std::abort();

    kibiki::CUserSettings loaded;
    loaded.SetFolder(dir);
    loaded.LoadUser("fuzz");
    if (loaded.FileText() != imported.FileText()) std::abort();
    return 0;
}
