// Any bytes load as a settings file without harm, and what is saved loads back to the same file.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "users/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static char tmpl[] = "/tmp/kibiki_settings_fuzz_XXXXXX";
    static const std::string dir = [] {
        if (!::mkdtemp(tmpl)) std::abort();
        std::atexit([] { std::filesystem::remove_all(tmpl); });
        return std::string(tmpl) + "/";
    }();
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
