#pragma once
// Days practised, minutes, the daily goal and streaks, all from the history lines' dates: no
// state of their own is stored. A day is the calendar day the line's date names: the learner's
// local day when the run began, whatever zone or daylight-saving time the machine is in now.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "users/history_record.h"

namespace kibiki {

class CUserSettings;

// --- days ---------------------------------------------------------------------------------------

// Days since 1970-01-01 (before it negative) of a record's minute.
std::int64_t DayOfMinute(std::int64_t nMinute);
// Today by the machine's local clock and zone; t is seconds since the epoch.
std::int64_t LocalDay(std::time_t t);

struct CivilDate {
    int nYear = 1970, nMonth = 1, nDay = 1;
};
CivilDate DateOfDay(std::int64_t nDay);
std::int64_t DayOfDate(int nYear, int nMonth, int nDay);
// 0 Sunday .. 6 Saturday.
int WeekdayOfDay(std::int64_t nDay);

// --- minutes ------------------------------------------------------------------------------------

// A line holds no duration. A run's minutes are its keystrokes over its speed (keystrokes per
// minute); a built-in lesson's keystrokes follow from its questions (lessons 1-6 ask each once,
// lesson 7 twenty drawn at random: its mean), with the standard spellings in the romaji modes.
// A custom lesson's file may have changed or gone: its runs count kCustomRunKeystrokes.
constexpr double kCustomRunKeystrokes = 200;
// A damaged speed must not make one run fill a day.
constexpr double kMaxRunMinutes = 120;

// Keystrokes of one run of built-in lesson 1-7 in mode 0-4; 0 for anything else.
double LessonKeystrokes(int nMode, int nLesson);
// 0 when the speed is damaged or 0.
double RunMinutes(const HistoryRecord& record);

// Minutes as shown: rounded to the nearest whole minute.
int WholeMinutes(double dMinutes);

// --- the days of a history ----------------------------------------------------------------------

struct PracticeDay {
    std::int64_t nDay = 0;
    double dMinutes = 0;
    int nRuns = 0;
};

// A run belongs wholly to the day it began on, also when it ended after midnight: the line
// names only that day. Lines without a readable date count nowhere.
struct PracticeDays {
    std::vector<PracticeDay> aDays;  // days with a run, oldest first
    double dTotalMinutes = 0;
    std::size_t nRuns = 0;     // runs with a readable date
    std::size_t nSkipped = 0;  // lines without one
    // The day's entry, or null when nothing was practised on it.
    const PracticeDay* Find(std::int64_t nDay) const;
};

PracticeDays BuildPracticeDays(const CHistoryRecords& records);

// --- the goal and streaks -----------------------------------------------------------------------

// Minutes a day; 0 is no goal.
constexpr int kMaxGoalMinutes = 600;
int ClampGoal(int nMinutes);

// Without a goal any run counts the day; with one, its shown minutes must reach the goal.
bool CountsForStreak(const PracticeDay& day, int nGoal);

struct Streaks {
    int nCurrent = 0;  // days in a row up to today, or up to yesterday while today is still open
    int nLongest = 0;
};
// A change of zone can date the newest runs a day after today's local date; such a day still
// carries the current streak.
Streaks StreaksOf(const PracticeDays& days, std::int64_t nToday, int nGoal);

// The lesson end's line while a goal is set, "今日 12／15分・連続 5日" (UTF-8).
std::string GoalLine(const PracticeDays& days, std::int64_t nToday, int nGoal);
// The same for the settings record's user, from their history file (CP932); empty without a
// goal, and then the history is not read.
std::string LessonEndGoalLine(const CUserSettings& settings, std::int64_t nToday);

// --- the calendar -------------------------------------------------------------------------------

constexpr int kCalendarLevels = 5;  // 0: no run; 4: the most
// Shade of a day: with a goal, 1 under half of it, 2 under it, 3 met, 4 twice met; without,
// 1 under 10 minutes, 2 under 20, 3 under 40, 4 from 40 on. Any run is at least 1.
int CalendarLevel(const PracticeDay* pDay, int nGoal);
// The legend's words for levels 1-4 (UTF-8): "10分未満" ... or "目標の半分未満" ...
std::string CalendarLevelText(int nLevel, int nGoal);
// One hue (green), light to dark; COLORREF 0x00BBGGRR. Level 0 is a pale grey.
std::uint32_t CalendarBackColour(int nLevel);

// The last twelve months as weeks, Sunday to Saturday: the first column's Sunday is the one on
// or before the day 364 days before today; the last column holds today. Days after today are
// left blank.
struct CalendarGrid {
    std::int64_t nFirstDay = 0;  // a Sunday
    int nWeeks = 0;
    std::int64_t nToday = 0;
    // Where a month's first day falls: its column, and its month number.
    struct MonthMark {
        int nWeek = 0;
        int nMonth = 1;
        int nYear = 1970;
    };
    std::vector<MonthMark> aMonths;
    std::int64_t DayAt(int nWeek, int nWeekday) const { return nFirstDay + nWeek * 7 + nWeekday; }
    bool Shown(std::int64_t nDay) const { return nDay >= nFirstDay && nDay <= nToday; }
    // A day nBy days from nDay, held to the days shown: the keys that move the chosen day stop
    // at either end.
    std::int64_t Moved(std::int64_t nDay, std::int64_t nBy) const {
        return nDay + nBy < nFirstDay ? nFirstDay : nDay + nBy > nToday ? nToday : nDay + nBy;
    }
};
CalendarGrid CalendarGridFor(std::int64_t nToday);

// "12分", "1時間5分" (UTF-8).
std::string MinutesText(double dMinutes);
// "2026年12月11日(金)" (UTF-8).
std::string DayText(std::int64_t nDay);

}  // namespace kibiki
