// Any bytes load as a settings file without harm, and what is saved loads back to the same file.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/test_util.h"
#include "users/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kibiki::test::TempFolder folder("kibiki_settings_fuzz");
    static const std::string dir = folder.Path() + "/";
    std::ofstream(dir + "fuzz.dat", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    kibiki::CUserSettings first;
    first.SetFolder(dir);
    first.SetFlushToDisk(false);
    first.LoadUser("fuzz");
    const std::string saved = first.FileText();
    if (!first.SaveUser()) std::abort();

    kibiki::CUserSettings second;
    second.SetFolder(dir);
    second.LoadUser("fuzz");
    if (second.FileText() != saved) std::abort();
    return 0;
}
