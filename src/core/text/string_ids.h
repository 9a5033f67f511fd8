#pragma once
// Every string id the code names, one name per id. The values are fixed: kana ids and
// alternative ids are stored in users' settings files.

namespace kibiki {

enum : int {
    // 40000-40095 key legends by key index 0-47, kana then ASCII (strings.tsv)
    IDS_KANA_LEGEND_FIRST = 40000,
    IDS_ASCII_LEGEND_FIRST = 40048,

    // 40100-40479 kana units: hiragana, two-kana units, symbols, then katakana (strings.tsv)
    IDS_KANA_FIRST = 40100,      // あ; kana id - 40100 is the key of a fixed spelling
    IDS_NA_ROW_FIRST = 40120,    // な
    IDS_NA_ROW_LAST = 40124,     // の
    IDS_HIRAGANA_N = 40145,      // ん
    IDS_SINGLE_LAST = 40178,     // ょ
    IDS_TWO_KANA_FIRST = 40179,  // きゃ
    IDS_TWO_KANA_LAST = 40271,
    IDS_SYMBOL_FIRST = 40272,    // 「
    IDS_SYMBOL_LAST = 40307,
    IDS_KATAKANA_FIRST = 40308,  // katakana id = hiragana id + 208
    IDS_KATAKANA_N = 40353,      // ン
    IDS_KATAKANA_LAST = 40479,
    KATAKANA_OFFSET = 208,

    // 40500-40943 spellings: defaults at kana id + 400, alternatives 40710-40754, and pointer
    // strings "first,count" at kana id + 700; katakana read their hiragana's (strings.tsv)
    IDS_DEFAULT_SPELLING_FIRST = 40500,
    IDS_ALTERNATIVE_POINTER_FIRST = 40800,

    // 46000-46192 input-method romaji: "kana<TAB>spellings" (ime_romaji.tsv)
    IDS_IME_ROMAJI_FIRST = 46000,
    IDS_IME_ROMAJI_LAST = 46192,

    // 41100-42819 lesson word lists; lessons/catalogue.cpp holds each lesson's range (lessons.tsv)

    // 43000-43030 evaluation messages, lesson titles, tail of the faulty-question message
    // (strings.tsv)
    IDS_PERFECT = 43000,
    IDS_EXCELLENT = 43001,
    IDS_PASSED = 43002,
    IDS_NEARLY = 43003,
    IDS_MORE_PRACTICE = 43004,
    IDS_TITLE_FIRST = 43010,       // Lesson1 .. Lesson7
    IDS_TITLE_KANA_FIRST = 43020,  // lessons 1 and 6 in kana input: 43020, 43025
    IDS_FAULTY_TEXT_TAIL = 43030,  // "\r\n問題文を訂正して…"

    // 44000-44009 settings-file errors and the reasons every file error gives (messages_settings.tsv)
    IDS_SETTINGS_READ_FAILED = 44000,
    IDS_SETTINGS_WRITE_FAILED = 44001,
    IDS_REASON_DISK_FULL = 44002,
    IDS_REASON_ACCESS = 44003,
    IDS_REASON_IS_FOLDER = 44004,
    IDS_REASON_NOT_REGULAR = 44005,
    IDS_REASON_TOO_LARGE = 44006,
    IDS_REASON_MISSING = 44007,
    IDS_REASON_LESSON_TOO_LARGE = 44008,
    IDS_REASON_NOT_FOLDER = 44009,

    // 44100-44102 the kana and romaji engine and the romaji settings (messages_kana.tsv)
    IDS_FAULTY_TEXT = 44100,  // "　　問題文にミスがあります。\r\n\r\n問題文　"
    IDS_CONFIRM_DELETE_LEARNING = 44101,  // ローマ字の学習を削除してよろしいですか？
    IDS_SPELLING_LETTERS_ONLY = 44102,    // a fixed spelling that is not A-Z letters

    // 44200-44247 practice engine: custom lessons, evaluation, history (messages_engine.tsv)
    IDS_CUSTOM_LESSON = 44200,  // オリジナルレッスン
    IDS_CUSTOM_NAME = 44201,    // オリジナル
    IDS_CONFIRM_END = 44202,
    IDS_CONFIRM_END_CAPTION = 44203,
    IDS_BAD_HEADER = 44204,
    IDS_CONFIRM_CAPTION_WARNING = 44205,
    IDS_ENGLISH_QUESTION = 44206,
    IDS_CANNOT_OPEN = 44207,
    IDS_NO_QUESTIONS = 44208,
    IDS_EMPTY_FIRST_QUESTION = 44209,
    IDS_NO_MISSES_AT_ALL = 44210,
    IDS_ELLIPSIS = 44211,
    IDS_TIMES = 44212,
    IDS_PER_MINUTE = 44213,
    IDS_KANA_PER_MINUTE = 44219,  // kana per minute, beside the rules' keystrokes "／分"
    IDS_PERCENT = 44214,
    IDS_DATE_FORMAT = 44215,
    IDS_WIDE_SPACE = 44216,
    IDS_SPACE_KEY = 44217,
    IDS_MIDDLE_DOT = 44218,
    IDS_WEAK_KEY_DRILL = 44250,
    IDS_NO_WEAK_KEYS = 44251,
    IDS_WEAK_KEYS_TITLE = 44252,  // "苦手キー:", followed by the drill's keys
    IDS_LESSON_NAME_CUT = 44254,        // followed by the name as cut
    IDS_LESSON_MALFORMED_UTF8 = 44255,  // %s: the line's number, twice; followed by the line
    IDS_NO_MISSES = 44220,
    IDS_SUFFIX_FIRST = 44221,  // (かな) .. (漢字ローマ字) for modes 0..4
    IDS_APPEND_FAILED = 44226,
    IDS_WIDE_COMMA = 44227,
    IDS_QUESTION_TOO_LONG = 44240,  // followed by the question's beginning
    IDS_MARK_BACKSPACE = 44241,     // miss-key box names of keys that type nothing visible
    IDS_MARK_TAB = 44242,
    IDS_MARK_LINE_FEED = 44243,
    IDS_MARK_ENTER = 44244,
    IDS_MARK_ESCAPE = 44245,
    IDS_MARK_SPACE = 44246,
    IDS_MARK_DELETE = 44247,

    // 44300-44307 window texts the lesson data and the judge never use (messages_ui.tsv)
    IDS_ABOUT_VERSION = 44300,
    IDS_ABOUT_NOTICE = 44301,
    IDS_FILE_MISSING = 44302,   // ファイルがありません\r\nリストから削除します。
    IDS_LESSON_FILTER = 44303,  // レッスンファイル(*.txt)
    IDS_HELP_FAILED = 44304,    // ヘルプの起動に失敗しました。
    IDS_CANNOT_REGISTER = 44305,  // このファイルは、登録できません。…
    IDS_PATH_NOT_CP932 = 44306,   // a lesson file's path the settings file cannot hold
    IDS_ABOUT_LICENSE = 44307,    // ライセンス

    // 44500-44520 what a screen reader is told of the practice window (messages_spoken.tsv)
    IDS_SPOKEN_CAP = 44500,         // %1 legend, %2 hand, %3 finger
    IDS_SPOKEN_LEFT_HAND = 44501,
    IDS_SPOKEN_RIGHT_HAND = 44502,
    IDS_SPOKEN_MISS_COUNT = 44503,
    IDS_SPOKEN_ACCURACY = 44504,
    IDS_SPOKEN_REMAINING = 44505,
    IDS_SPOKEN_MISS_KEY = 44506,
    IDS_SPOKEN_QUESTION = 44507,
    IDS_SPOKEN_ANSWER = 44508,
    IDS_SPOKEN_SHIFT_LEFT = 44509,
    IDS_SPOKEN_SHIFT_RIGHT = 44510,
    IDS_SPOKEN_MARKER = 44511,
    IDS_SPOKEN_PROGRESS = 44512,
    IDS_SPOKEN_TITLE = 44513,
    IDS_SPOKEN_DUE_KANA = 44514,    // %1 kana, %2 hand, %3 finger
    IDS_SPOKEN_DUE = 44515,
    IDS_SPOKEN_WITH_SHIFT = 44516,
    IDS_SPOKEN_MISS = 44517,
    IDS_SPOKEN_END = 44518,
    IDS_SPOKEN_STOPPED = 44519,
    IDS_SPOKEN_PRACTICE = 44520,

    // 44600-44613 the progress chart and calendar in words (messages_progress.tsv)
    IDS_CHART_RUNS = 44600,          // %s: how many runs
    IDS_CHART_NEWEST = 44601,        // %s date, %s speed, %s accuracy
    IDS_CHART_MEAN = 44602,          // %s speed, %s accuracy
    IDS_CHART_BEST = 44603,          // %s speed, %s accuracy
    IDS_CHART_NO_RUNS = 44604,
    IDS_CALENDAR_TODAY = 44605,      // %s minutes
    IDS_CALENDAR_TODAY_GOAL = 44606, // %s minutes, %s the goal
    IDS_CALENDAR_CURRENT = 44607,    // %s days
    IDS_CALENDAR_LONGEST = 44608,    // %s days
    IDS_CALENDAR_TOTALS = 44609,     // %s time, %s runs
    IDS_CALENDAR_NO_RUN = 44610,
    IDS_CALENDAR_DAY = 44611,        // %s time, %s runs
    IDS_CALENDAR_GOAL_MET = 44612,
    IDS_SUMMARY_JOIN = 44613,

    // 44700-44710 users and their history (messages_users.tsv)
    IDS_USER_EXISTS = 44700,          // "<name>は存在します。…"
    IDS_USER_NAME_UNUSABLE = 44701,
    IDS_CONFIRM_DELETE_USER = 44702,  // %s: the user name
    IDS_USER_NAME_NOT_CP932 = 44703,
    IDS_DELETE_USER_FAILED = 44704,   // %s: the user name
    IDS_CONFIRM_DELETE_HISTORY = 44705,
    IDS_DELETE_HISTORY_FAILED = 44706,  // %s: the file's path
    IDS_CSV_SAVE_FAILED = 44707,        // %s: the CSV file's path
    IDS_NEWEST_RUNS_SHOWN = 44708,      // %s: how many runs a history too large to read shows
    IDS_USER_NAME_STORED_AS = 44709,    // %s: a typed name as CP932 stores it

    // 45000-45013 character tables of the kana model (kana_tables.tsv)
    IDS_HIRAGANA_ROW = 45000,
    IDS_KATAKANA_ROW = 45001,
    IDS_HALF_ROW = 45002,
    IDS_VOICED_HIRAGANA = 45003,
    IDS_VOICED_KATAKANA = 45004,
    IDS_VOICED_BASE = 45005,
    IDS_SEMI_HIRAGANA = 45006,
    IDS_SEMI_KATAKANA = 45007,
    IDS_SEMI_BASE = 45008,
    IDS_KANA_SET = 45013,

    // 45100-45147 the keys of the JIS keyboard by key index (keyboard.tsv)
    IDS_KEYBOARD_FIRST = 45100,
    // 44800-44805 the practice log (messages_log.tsv)
    IDS_LOG_WRITE_FAILED = 44800,   // %s: the log's path
    IDS_LOG_MOVED_ASIDE = 44801,    // %s: where the damaged log went
    IDS_REASON_LOG_DAMAGED = 44802,
    IDS_REASON_LOG_LOCKED = 44803,
    IDS_REASON_LOG_TOO_NEW = 44804,
    IDS_LOG_DELETE_FAILED = 44805,  // %s: the log's path
    IDS_WEAK_PAIRS_TITLE = 44806,   // "苦手な運指:", followed by the drill's pairs
    IDS_NO_DRILLABLE_PAIRS = 44807,
    IDS_SPEED_LEVEL_FIRST = 44810,      // 44810-44814: the speed shades, lightest first
    IDS_MISS_RATE_LEVEL_FIRST = 44815,  // 44815-44819: the miss-rate shades
    IDS_MISS_COUNT_FEW = 44820,
    IDS_MISS_COUNT_MOST = 44821,
    IDS_FIGURE_TIP_KEY = 44822,         // %s: the legend
    IDS_FIGURE_TIP_MEDIAN = 44823,      // %s: ms
    IDS_FIGURE_TIP_MISSES = 44824,      // %s presses, %s missed, %s rate
    IDS_FIGURE_TIP_TARGET = 44825,      // %s: percent of the target
    IDS_FIGURE_TIP_NO_LOG = 44826,
    IDS_FIGURE_TIP_TOO_FEW = 44827,
    IDS_FIGURE_TIP_HISTORY = 44828,     // %s: misses in the history

    // 45150-45153 the finger groups' names: little, ring, middle, index (keyboard.tsv)
    IDS_FINGER_GROUP_FIRST = 45150,

    // 48000-48999 test passages: passage n's title at 48000 + 100 * n, its sentences after it
    // (test_passages.tsv)
    IDS_TEST_PASSAGE_FIRST = 48000,
    TEST_PASSAGE_STRIDE = 100,
    IDS_TEST_PASSAGE_LAST = 48999,

    // 49000-49299 the timed test's yardsticks and result texts (test_scoring.tsv)
    IDS_TEST_GRADE_FIRST = 49000,
    IDS_TEST_GRADE_LAST = 49099,
    IDS_TEST_BAND_FIRST = 49100,
    IDS_TEST_BAND_LAST = 49199,
    IDS_TEST_NEXT_GRADE = 49200,     // %s: characters short, %s: the grade
    IDS_TEST_REACHED = 49201,        // %s: the grade or band
    IDS_TEST_NONE_REACHED = 49202,
    IDS_TEST_COUNTDOWN = 49203,      // %s: "m:ss" left
    IDS_TEST_HISTORY_NAME = 49204,   // %s: the test's minutes
    IDS_TEST_TITLE = 49205,
    IDS_TEST_FILE_UNUSABLE = 49206,
    IDS_TEST_ROW_CHARS = 49210,      // the result's row labels, in order
    IDS_TEST_ROW_PER_10MIN = 49211,
    IDS_TEST_ROW_KEYS = 49212,
    IDS_TEST_ROW_KANA = 49213,
    IDS_TEST_ROW_ACCURACY = 49214,
    IDS_TEST_ROW_MISSES = 49215,
    IDS_TEST_UNIT_CHARS = 49216,
    IDS_TEST_UNIT_TIMES = 49217,
    IDS_TEST_ROW_BEST = 49218,
};

}  // namespace kibiki
