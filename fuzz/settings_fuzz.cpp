// Any bytes load as a settings file without harm, and what is saved loads back to the same file.
// An input whose first line is "#!folder", "#!fifo" or "#!devzero" puts that at the path instead.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/file_kinds.h"
#include "support/test_util.h"
#include "users/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kibiki::test::TempFolder folder("kibiki_settings_fuzz");
    static const std::string dir = folder.Path() + "/";
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kibiki::test::FileKind kind = kibiki::test::TakeFileKind(bytes);
    // A huge file is the unit tests' case: here each input would read 16 MB.
    if (kind == kibiki::test::FileKind::Huge) return 0;
    if (!kibiki::test::MakeFileKind(dir + "fuzz.dat", kind, bytes)) std::abort();

    kibiki::CUserSettings first;
    first.SetFolder(dir);
    first.SetFlushToDisk(false);
    first.LoadUser("fuzz");
    // A folder, a FIFO or a device at the path only has to load without blocking.
    if (kind != kibiki::test::FileKind::Regular) return 0;
    const std::string saved = first.FileText();
    if (!first.SaveUser()) std::abort();

    kibiki::CUserSettings second;
    second.SetFolder(dir);
    second.LoadUser("fuzz");
    if (second.FileText() != saved) std::abort();
    return 0;
}
