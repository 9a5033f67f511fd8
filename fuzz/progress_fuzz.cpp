// A history of any bytes gives records within their caps, a chart series in time order for every
// lesson the history holds with a speed axis of a few ticks, weak-key counts for every mode, and
// a CSV with one row per record.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "progress/history_csv.h"
#include "progress/missed_key_counts.h"
#include "progress/progress_series.h"
#include "users/history_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kibiki;
    const CHistoryRecords records(std::string(reinterpret_cast<const char*>(data), size));
    std::set<std::pair<int, int>> builtIn;
    for (const HistoryRecord& r : records.Records()) {
        if (r.strDate.size() > kHistoryTextCap || r.strSpeed.size() > kHistoryTextCap ||
            r.strAccuracy.size() > kHistoryTextCap || r.strLesson.size() > kHistoryLessonCap ||
            r.misses.size() > kHistoryMissedKeysCap)
            std::abort();
        if (r.nSpeed < -1 || r.nAccuracy < -1 || r.nAccuracy > 100) std::abort();
        for (const MissedKeyView& k : r.misses)
            if (k.nCount <= 0 || k.strKey.empty() || k.strKey.size() > kHistoryKeyCap) std::abort();
        if (r.IsBuiltIn()) builtIn.insert({r.nMode, r.nLesson});
    }
    std::vector<ProgressFilter> filters(1);  // every built-in run
    for (const auto& [nMode, nLesson] : builtIn) {
        ProgressFilter f;
        f.nMode = nMode;
        f.nLesson = nLesson;
        filters.push_back(f);
    }
    for (const std::string& name : records.CustomNames()) {
        ProgressFilter f;
        f.bCustom = true;
        f.strCustomName = name;
        filters.push_back(f);
    }
    for (const ProgressFilter& f : filters) {
        const ProgressSeries series = BuildProgressSeries(records, f);
        double dMax = 0;
        for (std::size_t i = 0; i < series.aPoints.size(); ++i) {
            const ProgressPoint& p = series.aPoints[i];
            if (i > 0 && p.nMinute < series.aPoints[i - 1].nMinute) std::abort();
            dMax = std::max({dMax, p.dSpeed, p.dSpeedAverage});
        }
        const SpeedAxis axis = SpeedAxisFor(dMax);
        if (axis.aTicks.size() < 2 || axis.aTicks.size() > 6 || axis.dTop < std::min(dMax, kMaxAxisSpeed))
            std::abort();
    }
    for (int mode = 0; mode <= 4; ++mode) CountMissedKeys(records, PracticeMode{mode}, kAllRuns);
    const std::string csv = HistoryCsv(std::string_view(reinterpret_cast<const char*>(data), size));
    if (csv.empty() || csv.find('\0') != std::string::npos) std::abort();
    return 0;
}
