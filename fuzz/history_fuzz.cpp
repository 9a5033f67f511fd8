// A history file of any bytes reads without crashing, every line yields one row, and a record
// appended to it reads back whole as the last row, whatever the file ended with. An input whose
// first line is "#!folder", "#!fifo" or "#!devzero" puts that at the path instead: it is refused
// without blocking.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/file_kinds.h"
#include "support/test_util.h"
#include "users/history_file.h"
#include "users/user_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kibiki;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (ParseHistory(bytes).size() > size) std::abort();

    static const test::TempFolder folder("kibiki_history_fuzz");
    static CUserSettings settings;
    settings.SetFolder(folder.Path());
    settings.m_strUser = "fuzz";
    const std::string path = HistoryPath(settings);
    const test::FileKind kind = test::TakeFileKind(bytes);
    // A huge file is the unit tests' case: here each input would read 64 MB.
    if (kind == test::FileKind::Huge) return 0;
    if (!test::MakeFileKind(path, kind, bytes)) std::abort();

    const bool bRegular = kind == test::FileKind::Regular;
    if (!bRegular && !ReadHistory(settings).empty()) std::abort();
    const bool bAppended = AppendHistory(settings, "2026/12/10 13:43", "Words", "120", "95", "A  2 ", nullptr);
    if (bAppended != bRegular) std::abort();
    if (!bRegular) return 0;

    const std::string record = "2026/12/10 13:43,Words,120,95,A  2 \r\n";
    const bool bNewLine = !bytes.empty() && bytes.back() != '\n';
    if (test::ReadFile(path) != std::string(bytes) + (bNewLine ? "\r\n" : "") + record) std::abort();
    const auto rows = ReadHistory(settings);
    if (rows.empty()) std::abort();
    const HistoryRow last = rows[rows.size() - 1];
    if (last.strLesson != "Words" || last.strTime != "2026/12/10 13:43") std::abort();
    return 0;
}
