// The built-in word lists are data a learner types thousands of times: an entry with a key its
// lesson has not taught yet, a kana the keyboard cannot type or a reading that does not fit its
// kanji is a lesson that cannot be finished. Every entry goes through the engine here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "kana/jis_keyboard.h"
#include "kana/kana_tables.h"
#include "lessons/catalogue.h"
#include "lessons/kibiki_doc.h"
#include "lessons/test_passages.h"
#include "support/fakes.h"
#include "support/test_util.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

// The lesson number the checker gives a sentence of a test passage: typed in kana or romaji like
// lesson 7, with no key rules of a lesson and no length of its own (the sentences run on).
constexpr int kPassage = 0;

struct LessonList {
    int nMode;    // the mode whose list it is
    int nLesson;
    int nFirstId;
    int nCount;
};

// Modes 2 and 4 have no general list of their own; they type those of modes 0 and 3.
constexpr LessonList kLists[] = {
    {0, 1, 41100, 20}, {0, 2, 41120, 20}, {0, 3, 41140, 20}, {0, 4, 41160, 20},
    {0, 5, 41180, 20}, {0, 6, 41200, 20}, {0, 7, 41220, 100},
    {1, 1, 41400, 20}, {1, 2, 41420, 20}, {1, 3, 41440, 13}, {1, 4, 41460, 16},
    {1, 5, 41480, 20}, {1, 6, 41500, 20}, {1, 7, 41520, 100},
    {2, 1, 41700, 20}, {2, 2, 41720, 20}, {2, 3, 41740, 20}, {2, 4, 41760, 10},
    {2, 5, 41780, 20}, {2, 6, 41800, 20},
    {3, 1, 42100, 20}, {3, 2, 42120, 20}, {3, 3, 42140, 20}, {3, 4, 42160, 20},
    {3, 5, 42180, 20}, {3, 6, 42200, 20}, {3, 7, 42220, 100},
    {4, 1, 42700, 20}, {4, 2, 42720, 20}, {4, 3, 42740, 20}, {4, 4, 42760, 10},
    {4, 5, 42780, 20}, {4, 6, 42800, 20},
};

std::vector<int> ModesTyping(const LessonList& list) {
    if (list.nLesson == 7 && list.nMode == 0) return {0, 2};
    if (list.nLesson == 7 && list.nMode == 3) return {3, 4};
    return {list.nMode};
}

bool IsRomajiMode(int nMode) { return nMode == 1 || nMode == 2 || nMode == 4; }
bool IsKanjiMode(int nMode) { return nMode == 3 || nMode == 4; }

std::vector<std::string> Chars(const std::string& s) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size(); i += CharLenAt(s, i)) out.push_back(s.substr(i, CharLenAt(s, i)));
    return out;
}

bool Contains(const std::string& utf8Set, const std::string& ch) {
    for (const auto& c : Chars(Sj(utf8Set)))
        if (c == ch) return true;
    return false;
}

// Column of a key: keys run four to a column from the left.
int Column(int nKey) { return nKey / 4; }

// The keys lesson n adds, as the keyboard table has them: lesson 1 the home key of every finger
// (its key in the A row, third from the top, in its column nearest the hand's middle finger)
// and, in the romaji modes, the vowels; lessons 2-5 the keys of the index, middle, ring and
// little fingers in turn.
std::set<int> AddedKeys(int nLesson, bool bRomaji) {
    std::set<int> keys;
    if (nLesson == 1) {
        for (int nFinger = 0; nFinger < 8; ++nFinger) {
            const int nMiddle = nFinger < 4 ? 2 : 5;
            int nMiddleColumn = 0, nHome = -1;
            for (int k = 0; k < kKeyCount; ++k)
                if (FingerOfKey(k) == nMiddle) nMiddleColumn = Column(k);
            for (int k = 2; k < kKeyCount; k += 4)
                if (FingerOfKey(k) == nFinger &&
                    (nHome < 0 || std::abs(Column(k) - nMiddleColumn) < std::abs(Column(nHome) - nMiddleColumn)))
                    nHome = k;
            keys.insert(nHome);
        }
        if (bRomaji)
            for (int id = IDS_DEFAULT_SPELLING_FIRST; id < IDS_DEFAULT_SPELLING_FIRST + 5; ++id)  // あいうえお
                for (char ch : StringOrEmpty(id)) keys.insert(KeyOfPrinted(ch));
        return keys;
    }
    if (nLesson > 5) return keys;
    for (int k = 0; k < kKeyCount; ++k)
        if (FingerGroupOfKey(k) == 5 - nLesson) keys.insert(k);
    return keys;
}

// Keys lesson n may use: those of its lesson and every lesson before.
std::set<int> AllowedKeys(int nLesson, bool bRomaji) {
    std::set<int> keys;
    for (int n = 1; n <= nLesson; ++n) keys.merge(AddedKeys(n, bRomaji));
    return keys;
}

// The letters Japanese is typed with in the default spellings: those of the single kana, small
// ones included (XA, XYA). The two-kana units of loanwords (ヴ VU, ふぁ FA) need no drill, and L
// and Q spell nothing.
std::set<char> JapaneseLetters() {
    std::set<char> letters;
    for (int id = IDS_KANA_FIRST; id <= IDS_SINGLE_LAST; ++id)
        for (char ch : StringOrEmpty(id + IDS_DEFAULT_SPELLING_FIRST - IDS_KANA_FIRST)) letters.insert(ch);
    return letters;
}

// The keys lesson n teaches in a mode: the keys it adds, in modes 2 and 4 only the letters
// Japanese is typed with. Mode 1 types its entries as written, so its home-position lesson
// drills every home key (ASDFJKL;); later lessons there teach the letters as the other modes do.
std::set<int> TaughtKeys(int nLesson, int nMode) {
    const bool bRomaji = IsRomajiMode(nMode);
    std::set<int> keys = AddedKeys(nLesson, bRomaji);
    for (int k : AllowedKeys(nLesson - 1, bRomaji)) keys.erase(k);
    if (!bRomaji || (nMode == 1 && nLesson == 1)) return keys;
    static const std::set<char> letters = JapaneseLetters();
    std::erase_if(keys, [](int k) { return !letters.count(PrintedOfKey(k, false)); });
    return keys;
}

// A key as the mode's legends show it (UTF-8).
std::string KeyName(int nKey, int nMode, bool bShifted = false) {
    if (IsRomajiMode(nMode)) return std::string(1, PrintedOfKey(nKey, bShifted));
    return U8(std::string(1, static_cast<char>(KanaOfKey(nKey, bShifted))));
}

struct Stroke {
    int nKey;
    bool bShifted;
};

struct Entry {
    std::string strKanji;    // CP932, empty unless a kanji-mode entry has one
    std::string strReading;  // CP932, separators still in
};

Entry SplitEntry(int nMode, const std::string& text) {
    const auto comma = text.find(',');
    if (!IsKanjiMode(nMode) || comma == std::string::npos) return {"", text};
    return {text.substr(0, comma), text.substr(comma + 1)};
}

// What the learner types: the reading without its separators.
std::string TypedText(int nMode, const std::string& text) {
    std::string reading = SplitEntry(nMode, text).strReading;
    const std::string bar = Sj("｜");
    for (auto at = reading.find(bar); at != std::string::npos; at = reading.find(bar))
        reading.erase(at, bar.size());
    return reading;
}

class Checker {
public:
    Checker() { m_doc.SetMessenger(&m_messenger); }

    // Problems of one entry of lesson nLesson typed in nMode; empty when it is fine.
    std::vector<std::string> Problems(int nMode, int nLesson, const std::string& text) {
        std::vector<std::string> problems;
        CheckForm(nMode, nLesson, text, problems);
        std::vector<Stroke> strokes;
        std::string why;
        if (!Strokes(nMode, TypedText(nMode, text), strokes, why)) {
            problems.push_back("not typable in mode " + std::to_string(nMode) + ": " + why);
            return problems;
        }
        CheckKeys(nMode, nLesson, TypedText(nMode, text), strokes, problems);
        return problems;
    }

    // The keys an entry is typed with, one byte per stroke (Shift as +64); empty when it cannot
    // be typed. Two entries with the same keys are the same exercise, whatever they show.
    std::string Keys(int nMode, const std::string& text) { return KeysOfTyped(nMode, TypedText(nMode, text)); }

    // The exercise itself, its keys and its length in characters: brackets and the closing
    // punctuation make no other one.
    std::string CoreKeys(int nMode, const std::string& text) { return KeysOfTyped(nMode, CoreText(nMode, text)); }
    std::size_t CoreChars(int nMode, const std::string& text) { return Chars(CoreText(nMode, text)).size(); }

private:
    static std::string CoreText(int nMode, const std::string& text) {
        std::string core;
        for (const auto& ch : Chars(TypedText(nMode, text)))
            if (!Contains("「」（）［］()[]{}<>\"", ch)) core += ch;
        for (auto chars = Chars(core); !chars.empty() && Contains("。、！？・.,!?", chars.back()); chars.pop_back())
            core.resize(core.size() - chars.back().size());
        return core;
    }

    std::string KeysOfTyped(int nMode, const std::string& typed) {
        std::vector<Stroke> strokes;
        std::string why, keys;
        if (typed.empty() || !Strokes(nMode, typed, strokes, why)) return keys;
        for (const auto& s : strokes) keys += static_cast<char>(s.nKey + (s.bShifted ? 64 : 0));
        return keys;
    }

    // Entry forms and the alignment of kanji runs with reading pieces.
    void CheckForm(int nMode, int nLesson, const std::string& text, std::vector<std::string>& problems) {
        const std::string typed = TypedText(nMode, text);
        if (typed.empty()) problems.push_back("empty reading");
        if (typed.find(' ') != std::string::npos) problems.push_back("a space");
        if (nMode == 1) {
            for (unsigned char c : text) {
                if (c < 0x21 || c > 0x7E || (c >= 'a' && c <= 'z')) {
                    problems.push_back("mode 1 text is upper-case ASCII only");
                    break;
                }
            }
            // ちゃ ちゅ ちょ: the default CYA CYU CYO is a spelling learners hardly ever meet.
            if (text.find("CY") != std::string::npos) problems.push_back("CY spelling");
        }
        if (nMode == 2 || nMode == 4) {
            // With the default spellings this ん is a single N (きんえん: KINENN), a habit not to teach.
            const auto chars = Chars(typed);
            for (std::size_t i = 0; i + 1 < chars.size(); ++i)
                if (Contains("んン", chars[i]) && Contains("あいうえおやゆよアイウエオヤユヨ", chars[i + 1]))
                    problems.push_back("ん before " + U8(chars[i + 1]));
        }
        const int nChars = static_cast<int>(Chars(typed).size());
        const int nMax = nMode == 1 ? (nLesson == 7 ? 60 : 20) : (nLesson == 7 ? 40 : 15);
        if (nLesson != kPassage && nChars > nMax)
            problems.push_back("longer than " + std::to_string(nMax) + " characters");

        if (!IsKanjiMode(nMode)) return;
        const Entry entry = SplitEntry(nMode, text);
        if (entry.strKanji.empty()) {
            if (entry.strReading.find(Sj("｜")) != std::string::npos)
                problems.push_back("reading pieces without a kanji text");
            return;
        }
        m_doc.SetLesson(BuiltInLesson(PracticeMode{nMode}, nLesson == kPassage ? 7 : nLesson));
        std::string reading = entry.strReading;
        CKanjiSegments segments;
        segments.SplitKanjiSegments(entry.strKanji, reading, m_doc.KanaSeparator());
        if (reading != typed) problems.push_back("reading keeps a separator");
        const auto& dis = segments.m_aDisplayBounds;
        const auto& rea = segments.m_aReadingBounds;
        if (dis.size() != rea.size()) {
            problems.push_back(std::to_string(dis.size() + 1) + " kana/kanji runs but " +
                               std::to_string(rea.size() + 1) + " reading pieces");
            return;
        }
        bool bAnyKanji = false;
        for (std::size_t i = 0; i <= dis.size(); ++i) {
            const std::size_t d0 = i == 0 ? 0 : dis[i - 1], d1 = i == dis.size() ? entry.strKanji.size() : dis[i];
            const std::size_t r0 = i == 0 ? 0 : rea[i - 1], r1 = i == rea.size() ? reading.size() : rea[i];
            const std::string run = entry.strKanji.substr(d0, d1 - d0);
            const std::string piece = reading.substr(r0, r1 - r0);
            if (piece.empty()) problems.push_back("empty reading piece " + std::to_string(i + 1));
            if (!IsKanaChar(run)) {
                bAnyKanji = true;
            } else if (run != piece) {
                problems.push_back("kana run " + U8(run) + " read as " + U8(piece));
            }
        }
        if (!bAnyKanji) problems.push_back("kanji text without kanji");
    }

    bool Strokes(int nMode, const std::string& typed, std::vector<Stroke>& out, std::string& why) {
        out.clear();
        auto key = [&](unsigned char ch, bool bShifted) {
            int k = -1;
            FindKeyIndex(PracticeMode{nMode}, ch, k);
            if (k < 0) return false;
            out.push_back({k, bShifted});
            return true;
        };
        if (IsKanaAnswer(PracticeMode{nMode})) {
            for (const auto& ch : Chars(typed)) {
                unsigned char base = 0, mark = 0;
                SplitVoicedKana(base, ch, mark);
                if (mark != 0) {
                    if (!key(base, false) || !key(mark, false)) return why = U8(ch), false;
                    continue;
                }
                std::string half;
                ConvertKana(half, true, ch);
                if (half.size() != 1) return why = U8(ch), false;
                std::string hira;  // small katakana are shifted like small hiragana
                ConvertKana(hira, false, half);
                if (!key(static_cast<unsigned char>(half[0]), Contains("ぁぃぅぇぉゃゅょっを「」・、。", hira)))
                    return why = U8(ch), false;
            }
            return true;
        }
        std::string letters = typed;
        if (nMode != 1) {
            m_doc.SetRomanMode(true);  // a new user's setting: the default spellings
            std::string text = typed;
            if (!m_doc.BuildRoman(text) || text.empty()) return why = "no romaji for " + U8(typed), false;
            letters = m_doc.Matcher().Roman();
        }
        for (unsigned char c : letters) {
            const bool bShifted = std::string("!\"#$%&'()=~|`{+*}<>?_").find(static_cast<char>(c)) != std::string::npos;
            if (!key(c, bShifted)) return why = std::string("no key for ") + static_cast<char>(c), false;
        }
        return true;
    }

    void CheckKeys(int nMode, int nLesson, const std::string& typed, const std::vector<Stroke>& strokes,
                   std::vector<std::string>& problems) {
        const bool bRomaji = IsRomajiMode(nMode);
        if (nLesson >= 1 && nLesson <= 5) {
            const auto allowed = AllowedKeys(nLesson, bRomaji);
            const auto before = AllowedKeys(nLesson - 1, bRomaji);
            bool bNewKey = nLesson == 1;
            for (const auto& s : strokes) {
                if (s.bShifted) problems.push_back("Shift (key " + std::to_string(s.nKey) + ") before lesson 6");
                if (!allowed.count(s.nKey))
                    problems.push_back("key " + std::to_string(s.nKey) + " (column " + std::to_string(Column(s.nKey)) +
                                       ") not yet taught in lesson " + std::to_string(nLesson));
                if (!before.count(s.nKey)) bNewKey = true;
            }
            if (!bNewKey) problems.push_back("no key that lesson " + std::to_string(nLesson) + " adds");
        }
        if (nLesson == 6) {
            bool bSymbol = false;
            for (const auto& s : strokes) bSymbol |= s.bShifted;
            for (const auto& ch : Chars(typed)) {
                if (nMode == 1) bSymbol |= !std::isalnum(static_cast<unsigned char>(ch[0]));
                else if (IsKanaAnswer(PracticeMode{nMode})) bSymbol |= Contains("、。・「」ー", ch);
                else bSymbol |= Contains("「」ー！”＃＄％＆’（）＝￥、。＜＞・？；：＠＾～｀", ch);
            }
            if (!bSymbol) problems.push_back("lesson 6 entry without a symbol or a shifted key");
        }
    }

    CKibikiDoc m_doc;
    RecordingMessenger m_messenger;
};

std::string Describe(int nId, const std::string& text) { return std::to_string(nId) + " " + U8(text); }

TEST(LessonLists, RangesHoldExactlyTheCatalogueEntries) {
    std::set<int> ids;
    for (const auto& list : kLists) {
        int nFirst = 0, nLast = 0;
        for (int nMode : ModesTyping(list)) {
            ASSERT_TRUE(LessonIdRange(PracticeMode{nMode}, list.nLesson, nFirst, nLast)) << nMode << " " << list.nLesson;
            EXPECT_EQ(nFirst, list.nFirstId) << "mode " << nMode << " lesson " << list.nLesson;
            EXPECT_EQ(nLast, list.nFirstId + list.nCount - 1) << "mode " << nMode << " lesson " << list.nLesson;
        }
        for (int id = list.nFirstId; id < list.nFirstId + list.nCount; ++id) {
            ids.insert(id);
            const std::string* text = FindString(id);
            EXPECT_TRUE(text != nullptr && !text->empty()) << id << " missing";
        }
    }
    EXPECT_EQ(ids.size(), 869u);
    for (int id = 41100; id <= 42819; ++id) {
        if (ids.count(id)) continue;
        EXPECT_EQ(FindString(id), nullptr) << id << " lies outside every lesson";
    }
}

TEST(LessonLists, EveryEntryIsTypableAndKeepsToItsLesson) {
    Checker checker;
    for (const auto& list : kLists) {
        for (int nMode : ModesTyping(list)) {
            for (int id = list.nFirstId; id < list.nFirstId + list.nCount; ++id) {
                const std::string text = StringOrEmpty(id);
                for (const auto& problem : checker.Problems(nMode, list.nLesson, text))
                    ADD_FAILURE() << Describe(id, text) << " (mode " << nMode << ", lesson " << list.nLesson
                                  << "): " << problem;
            }
        }
    }
}

// The lists a learner of a mode meets: their mode's lessons, lesson 7 included even where it is
// another mode's list.
std::vector<LessonList> ListsOf(int nMode) {
    std::vector<LessonList> lists;
    for (const auto& list : kLists) {
        const auto modes = ModesTyping(list);
        if (std::find(modes.begin(), modes.end(), nMode) != modes.end()) lists.push_back(list);
    }
    return lists;
}

// An entry typed like another on a learner's path is practice wasted, and so is one typed whole
// inside another once it is a phrase rather than a word (five kana, ten letters in mode 1: lesson
// 7 builds its phrases from the words before it). Brackets and closing punctuation do not make
// another exercise.
TEST(LessonLists, NoLearnerTypesTheSameEntryTwice) {
    constexpr std::size_t nPhrase = 5;
    Checker checker;
    for (int nMode = 0; nMode <= 4; ++nMode) {
        struct Seen {
            int nId;
            std::string strKeys;
            std::size_t nChars;
        };
        std::vector<Seen> seen;
        for (const auto& list : ListsOf(nMode)) {
            for (int id = list.nFirstId; id < list.nFirstId + list.nCount; ++id) {
                const std::string text = StringOrEmpty(id);
                const std::string keys = checker.CoreKeys(nMode, text);
                if (keys.empty()) continue;  // reported by the typability test
                const std::size_t nChars = checker.CoreChars(nMode, text) / (nMode == 1 ? 2 : 1);
                for (const auto& other : seen) {
                    const bool bSame = keys == other.strKeys;
                    const bool bInside = (nChars >= nPhrase && other.strKeys.find(keys) != std::string::npos) ||
                                         (other.nChars >= nPhrase && keys.find(other.strKeys) != std::string::npos);
                    if (bSame || bInside)
                        ADD_FAILURE() << "mode " << nMode << ": " << Describe(id, text)
                                      << (bSame ? " is typed like " : " holds or is held whole in ")
                                      << Describe(other.nId, StringOrEmpty(other.nId));
                }
                seen.push_back({id, keys, nChars});
            }
        }
    }
}

// The keys lesson nLesson teaches that its entries (CP932) press fewer than three times, named.
// Lesson 6 teaches Shift: each shifted key it types at all is one of its keys, so it cannot bring
// a symbol in passing.
std::vector<std::string> KeysTypedTooRarely(Checker& checker, int nMode, int nLesson,
                                            const std::vector<std::string>& entries) {
    std::map<int, int> presses, shifted;
    for (const auto& text : entries) {
        for (char key : checker.Keys(nMode, text)) {
            const int nStroke = static_cast<unsigned char>(key);
            ++presses[nStroke % 64];
            if (nStroke >= 64) ++shifted[nStroke - 64];
        }
    }
    std::vector<std::string> rare;
    auto check = [&](int k, int n, bool bShifted) {
        if (n < 3)
            rare.push_back((bShifted ? "shifted key " : "key ") + std::to_string(k) + " (" +
                           KeyName(k, nMode, bShifted) + ") typed " + std::to_string(n) + " times");
    };
    if (nLesson == 6) {
        for (auto [k, n] : shifted) check(k, n, true);
    } else {
        for (int k : TaughtKeys(nLesson, nMode)) check(k, presses[k], false);
    }
    return rare;
}

// Every key a lesson teaches is pressed often enough in it to be learnt.
TEST(LessonLists, EveryTaughtKeyIsTypedThreeTimes) {
    Checker checker;
    for (const auto& list : kLists) {
        if (list.nLesson > 6) continue;
        std::vector<std::string> entries;
        for (int id = list.nFirstId; id < list.nFirstId + list.nCount; ++id) entries.push_back(StringOrEmpty(id));
        for (int nMode : ModesTyping(list))
            for (const auto& rare : KeysTypedTooRarely(checker, nMode, list.nLesson, entries))
                ADD_FAILURE() << "mode " << nMode << " lesson " << list.nLesson << ": " << rare;
    }
}

// Entries grow with the lessons: a lesson's mean length in keys is at least that of the longest
// lesson before it, less half a key (the words a new finger's keys allow may run a little
// shorter, but not lesson after lesson).
TEST(LessonLists, EntriesGrowFromLessonToLesson) {
    Checker checker;
    for (int nMode = 0; nMode <= 4; ++nMode) {
        double dLongest = 0;
        for (const auto& list : ListsOf(nMode)) {
            if (list.nLesson > 6) continue;
            double dSum = 0;
            for (int id = list.nFirstId; id < list.nFirstId + list.nCount; ++id)
                dSum += checker.Keys(nMode, StringOrEmpty(id)).size();
            const double dMean = dSum / list.nCount;
            EXPECT_GE(dMean, dLongest - 0.5) << "mode " << nMode << " lesson " << list.nLesson;
            dLongest = std::max(dLongest, dMean);
        }
    }
}

TEST(LessonLists, GeneralPracticeGrowsFromWordsToSentences) {
    for (int nFirst : {41220, 41520, 42220}) {
        const int nMode = nFirst == 41520 ? 1 : nFirst == 42220 ? 3 : 0;
        auto average = [&](int from) {
            double sum = 0;
            for (int id = from; id < from + 20; ++id) sum += Chars(TypedText(nMode, StringOrEmpty(id))).size();
            return sum / 20;
        };
        EXPECT_LT(average(nFirst) * 2, average(nFirst + 80)) << nFirst;
    }
}

// The timed test's passages: texts of a certificate test's length and kanji share, one sentence
// an entry, every one typable in kana and in romaji and read as its kanji text is written.
TEST(LessonLists, TestPassagesAreTypableInBothInputs) {
    const auto& passages = TestPassages();
    EXPECT_GE(passages.size(), 6u);
    Checker checker;
    std::size_t nIds = 0;
    for (const auto& passage : passages) {
        const std::string title = U8(passage.strTitle);
        EXPECT_FALSE(title.empty());
        std::size_t nChars = 0, nKanji = 0;
        for (const auto& text : passage.aEntries) {
            for (int nMode : {3, 4})
                for (const auto& problem : checker.Problems(nMode, kPassage, text))
                    ADD_FAILURE() << title << ": " << U8(text) << " (mode " << nMode << "): " << problem;
            const Entry entry = SplitEntry(3, text);
            const auto chars = Chars(entry.strKanji.empty() ? entry.strReading : entry.strKanji);
            if (chars.empty() || chars.back() != Sj("。")) ADD_FAILURE() << title << ": " << U8(text) << " is no sentence";
            nChars += chars.size();
            for (const auto& ch : chars) nKanji += IsKanaChar(ch) ? 0 : 1;
        }
        EXPECT_GE(nChars, 800u) << title;
        EXPECT_LE(nChars, 1200u) << title;
        EXPECT_GE(nKanji * 100, nChars * 25) << title << ": " << nKanji << " kanji in " << nChars;
        EXPECT_LE(nKanji * 100, nChars * 35) << title << ": " << nKanji << " kanji in " << nChars;
        nIds += 1 + passage.aEntries.size();
    }
    // A gap in the ids would end a passage early, or drop the passages after it.
    std::size_t nStrings = 0;
    for (int id = IDS_TEST_PASSAGE_FIRST; id <= IDS_TEST_PASSAGE_LAST; ++id) nStrings += FindString(id) ? 1 : 0;
    EXPECT_EQ(nStrings, nIds);
}

// The rules themselves must catch what they are for.
TEST(LessonLists, CheckerRejectsFaultyEntries) {
    struct Case {
        int nMode, nLesson;
        const char* text;
        const char* problem;  // start of the expected problem; empty: no problem
    };
    const Case cases[] = {
        {0, 1, "はと", ""},
        {0, 1, "がと", "key 41"},                      // voiced mark before lesson 5
        {0, 2, "はし", "no key that lesson 2 adds"},
        {0, 5, "きって", "Shift"},
        {0, 6, "はな", "lesson 6 entry without"},
        {0, 7, "ヴ！", "not typable"},
        {2, 1, "あし", ""},
        {2, 2, "まち", "key 11"},                      // ち is CHI: C is a middle-finger key
        {2, 7, "ABC", "not typable"},
        {2, 7, "きんえん", "ん before"},
        {1, 4, "WATASI", ""},
        {1, 1, "a", "mode 1 text"},
        {1, 5, "ZA ZA", "a space"},
        {1, 7, "OCYA", "CY spelling"},
        {3, 1, "止まり,と｜まり", ""},
        {3, 1, "止まり,とま｜り", "kana run"},
        {3, 1, "止まり,とまり", "2 kana/kanji runs"},
        {3, 1, "はと,はと", "kanji text without kanji"},
        {4, 1, "浮き草,う｜き｜くさ", ""},
    };
    Checker checker;
    for (const auto& c : cases) {
        const auto problems = checker.Problems(c.nMode, c.nLesson, Sj(c.text));
        if (*c.problem == '\0') {
            EXPECT_TRUE(problems.empty()) << c.text << ": " << (problems.empty() ? "" : problems[0]);
            continue;
        }
        bool bFound = false;
        for (const auto& p : problems) bFound |= p.rfind(c.problem, 0) == 0;
        EXPECT_TRUE(bFound) << c.text << " should fail with " << c.problem;
    }
    // Repeats are judged by the keys pressed, not by what the question box shows.
    auto same = [&](int nMode, const char* a, const char* b) {
        const std::string keys = checker.Keys(nMode, Sj(a));
        return !keys.empty() && keys == checker.Keys(nMode, Sj(b));
    };
    EXPECT_TRUE(same(2, "コーヒー", "こーひー"));
    EXPECT_TRUE(same(3, "橋,はし", "箸,はし"));
    EXPECT_FALSE(same(0, "はし", "はじ"));
    EXPECT_FALSE(same(0, "よ", "ょ"));  // the same key, shifted
    EXPECT_EQ(checker.CoreKeys(2, Sj("「いってきます。」")), checker.Keys(2, Sj("いってきます")));
    EXPECT_EQ(checker.CoreKeys(1, "\"HAI.\""), checker.CoreKeys(1, "HAI!"));

    // A key a lesson teaches, or a shifted key lesson 6 types, must come three times: the keys
    // typed too rarely, by their legends.
    auto rare = [&](int nMode, int nLesson, std::vector<const char*> texts) {
        std::vector<std::string> entries;
        for (const char* t : texts) entries.push_back(Sj(t));
        std::string names;
        for (const auto& r : KeysTypedTooRarely(checker, nMode, nLesson, entries))
            names += r.substr(r.find('(') + 1, r.find(')') - r.find('(') - 1);
        return names;
    };
    EXPECT_EQ(rare(0, 6, {"「はい。」", "「いいえ。」", "「ええ。」"}), "");
    EXPECT_EQ(rare(0, 6, {"「はい。」", "「いいえ。」", "きって"}), "ｯ｡｢｣");
    EXPECT_EQ(rare(1, 6, {"A<B>C", "HAI!", "SUGOI!", "MATANE!"}), "<>");
    EXPECT_EQ(rare(2, 3, {"まち", "みち", "くち"}), "");
    EXPECT_EQ(rare(2, 3, {"まち", "みち"}), "C");

    // What a lesson teaches comes from the keyboard table's fingers.
    auto taught = [](int nLesson, int nMode) {
        std::string s;
        for (int k : TaughtKeys(nLesson, nMode)) s += KeyName(k, nMode);
        return s;
    };
    EXPECT_EQ(taught(1, 0), "ﾁﾄｼﾊﾏﾉﾘﾚ");
    EXPECT_EQ(taught(1, 4), "ASEDUJIKO");  // F and L spell no kana of their own
    EXPECT_EQ(taught(1, 1), "ASEDFUJIKOL;");
    EXPECT_EQ(taught(3, 1), "C");
    EXPECT_EQ(taught(4, 2), "WX");           // small kana: XA
    EXPECT_EQ(taught(5, 2), "ZP");          // not Q
    EXPECT_EQ(taught(5, 3).size(), 14u * 3);
}

}  // namespace
}  // namespace kibiki
