#include "progress/history_csv.h"

#include "text/cp932.h"

namespace kibiki {

std::string CsvField(const std::string& strUtf8, bool bText) {
    std::string field = strUtf8;
    if (bText && !field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos)
        field.insert(0, 1, '\'');
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string HistoryCsv(const CHistoryRecords& records) {
    std::string csv = "\xEF\xBB\xBF";  // byte-order mark
    csv += "日時,レッスン名,速度(打/分),正解率(%),間違えたキー\r\n";
    csv.reserve(records.size() * 80);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const HistoryRecord& r = records[i];
        // An unreadable time or figure is written as it stands, so nothing is lost.
        csv += CsvField(r.nMinute != kNoTime ? IsoMinute(r.nMinute) : Cp932ToUtf8(r.strDate));
        csv += ',';
        csv += CsvField(Cp932ToUtf8(LessonName(r.strLesson)));
        csv += ',';
        csv += CsvField(Cp932ToUtf8(r.strSpeed), r.nSpeed < 0);
        csv += ',';
        csv += CsvField(Cp932ToUtf8(r.strAccuracy), r.nAccuracy < 0);
        csv += ',';
        std::string misses;
        for (const MissedKeyView& k : r.misses) {
            if (!misses.empty()) misses += ' ';
            misses += Cp932ToUtf8(k.strKey) + "×" + std::to_string(k.nCount);
        }
        csv += CsvField(misses);
        csv += "\r\n";
    }
    return csv;
}

}  // namespace kibiki
