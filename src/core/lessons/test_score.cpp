#include "lessons/test_score.h"

#include <cstdlib>

#include "lessons/evaluation.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

constexpr std::int64_t kTenMinutesMs = 600000;

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
        fields.push_back(line.substr(from, tab - from));
    fields.push_back(line.substr(from));
    return fields;
}

bool PositiveNumber(const std::string& s, int& n) {
    if (s.empty() || s.size() > 6 || s.find_first_not_of("0123456789") != std::string::npos) return false;
    n = std::atoi(s.c_str());
    return n > 0;
}

TestYardsticks ReadYardsticks() {
    TestYardsticks y;
    for (int id = IDS_TEST_GRADE_FIRST; id <= IDS_TEST_GRADE_LAST; ++id) {
        const std::string* line = FindString(id);
        if (!line) continue;
        const auto f = Fields(*line);
        TestGrade g;
        if (f.size() != 4 || f[0].empty() || f[1].empty() || !PositiveNumber(f[2], g.nPassLine)) continue;
        if (f[3] != "0" && !PositiveNumber(f[3], g.nDeduction)) continue;
        g.strSet = f[0];
        g.strGrade = f[1];
        y.grades.push_back(std::move(g));
    }
    for (int id = IDS_TEST_BAND_FIRST; id <= IDS_TEST_BAND_LAST; ++id) {
        const std::string* line = FindString(id);
        if (!line) continue;
        const auto f = Fields(*line);
        TestBand b;
        if (f.size() != 3 || f[0].empty() || f[1].empty() || !PositiveNumber(f[2], b.nPerMinute)) continue;
        b.strSet = f[0];
        b.strBand = f[1];
        y.bands.push_back(std::move(b));
    }
    return y;
}

std::string Fill(std::string text, std::initializer_list<std::string> args) {
    std::size_t at = 0;
    for (const std::string& arg : args) {
        at = text.find("%s", at);
        if (at == std::string::npos) break;
        text.replace(at, 2, arg);
        at += arg.size();
    }
    return text;
}

TestSetResult& SetOf(std::vector<TestSetResult>& sets, const std::string& name) {
    for (TestSetResult& s : sets)
        if (s.strSet == name) return s;
    sets.push_back({name, {}});
    return sets.back();
}

}  // namespace

const TestYardsticks& DefaultYardsticks() {
    static const TestYardsticks y = ReadYardsticks();
    return y;
}

TestScore ScoreTimedTest(const TestTally& t, const TestYardsticks& y) {
    TestScore s;
    s.nChars = t.nChars;
    s.nMisses = t.nMisses;
    s.dAccuracy = AccuracyPercent(t.dKeystrokes, t.nMisses);
    s.dKeysPerMinute = KeystrokesPerMinute(t.dKeystrokes, t.dwElapsedMs);
    s.dKanaPerMinute = KeystrokesPerMinute(t.nKana, t.dwElapsedMs);
    s.dCharsPerMinute = KeystrokesPerMinute(t.nChars, t.dwElapsedMs);
    s.dCharsPer10Min = s.dCharsPerMinute * 10;

    // Whole milliseconds keep the boundaries exact: a pass line met to the character passes.
    const std::int64_t ms = t.dwElapsedMs > 0 ? t.dwElapsedMs : 1;
    const std::string* firstSet = y.grades.empty() ? nullptr : &y.grades.front().strSet;
    for (const TestGrade& g : y.grades) {
        TestSetResult& set = SetOf(s.sets, g.strSet);
        const std::int64_t net = static_cast<std::int64_t>(t.nChars) - static_cast<std::int64_t>(t.nMisses) * g.nDeduction;
        const std::int64_t lineMs = static_cast<std::int64_t>(g.nPassLine) * ms;
        const std::int64_t netMs = net * kTenMinutesMs;
        if (netMs >= lineMs) {
            set.strReached = g.strGrade;
        } else if (g.strSet == *firstSet && s.strNextGrade.empty()) {
            // The characters per 10 minutes still missing, rounded up.
            s.nShort = static_cast<int>((lineMs - netMs + ms - 1) / ms);
            s.strNextGrade = g.strGrade;
        }
    }
    for (const TestBand& b : y.bands) {
        TestSetResult& set = SetOf(s.sets, b.strSet);
        if (static_cast<std::int64_t>(t.nChars) * 60000 >= static_cast<std::int64_t>(b.nPerMinute) * ms)
            set.strReached = b.strBand;
    }
    return s;
}

std::string NextGradeText(const TestScore& score) {
    if (score.strNextGrade.empty()) return {};
    return Fill(StringOrEmpty(IDS_TEST_NEXT_GRADE), {std::to_string(score.nShort), score.strNextGrade});
}

std::string ReachedText(const TestSetResult& set) {
    if (set.strReached.empty()) return StringOrEmpty(IDS_TEST_NONE_REACHED);
    return Fill(StringOrEmpty(IDS_TEST_REACHED), {set.strReached});
}

std::string CountdownText(std::uint32_t dwLeftMs) {
    const std::uint32_t sec = dwLeftMs / 1000 + (dwLeftMs % 1000 ? 1 : 0);
    std::string ss = std::to_string(sec % 60);
    if (ss.size() < 2) ss.insert(0, "0");
    return Fill(StringOrEmpty(IDS_TEST_COUNTDOWN), {std::to_string(sec / 60) + ":" + ss});
}

std::string TimedTestName(int nMinutes) {
    return Fill(StringOrEmpty(IDS_TEST_HISTORY_NAME), {std::to_string(nMinutes)});
}

int CountChars(std::string_view text) {
    int n = 0;
    for (std::size_t i = 0; i < text.size(); i += CharLenAt(text, i)) ++n;
    return n;
}

}  // namespace kibiki
