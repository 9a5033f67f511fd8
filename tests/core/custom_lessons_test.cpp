// Registered lesson files: the list the settings dialog edits and saves, the header check, and
// lesson files in CP932 or UTF-8.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "lessons/custom_lessons.h"
#include "lessons/custom_start.h"
#include "lessons/lesson_file.h"
#include "support/practice_harness.h"

namespace kibiki::test {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += U8(l) + "|";
    return out;
}

TEST(LessonFileLines, ReadCp932Utf8WithAndWithoutBomAndAscii) {
    const std::string bom = "\xEF\xBB\xBF";
    constexpr std::size_t none = std::string::npos;
    struct Case {
        const char* name;
        std::string bytes;
        const char* lines;
        std::size_t lost;
        std::size_t malformed = std::string::npos;
    } cases[] = {
        {"CP932", Sj("#KANA\r\n果物\r\nりんご\r\n"), "#KANA|果物|りんご|", none},
        {"UTF-8", "#KANA\nくだもの\nみかん", "#KANA|くだもの|みかん|", none},
        {"UTF-8 with BOM", bom + "#kanakanji\r\n\r\n雨,あめ\r\n", "#kanakanji||雨,あめ|", none},
        {"ASCII", "#ROMAN\r\nEnglish\r\nHello, world\r\n", "#ROMAN|English|Hello, world|", none},
        // A CP932 text that is no UTF-8 stays CP932, even where a run of its bytes would pass.
        {"CP932 like UTF-8", Sj("#KANA\r\nテスト\r\n"), "#KANA|テスト|", none},
        // What Linux input methods write for 〜 and − are CP932's ～ and －.
        {"JIS forms", "#KANAKANJI\n\n〜−,から\n", "#KANAKANJI||～－,から|", none},
        {"lost character", "#KANA\nx\nかさ\n𠮷野,よしの\né\n", "#KANA|x|かさ|〓野,よしの|〓|", 3},
        {"a lone BOM", bom, "", none},
        // One slip of an editor keeps a UTF-8 file UTF-8: each stray byte is a 〓.
        {"UTF-8 but for a byte", "#KANA\nテスト\nかさ\xFFね\n", "#KANA|テスト|かさ〓ね|", none, 2},
        {"a BOM, then a cut character", bom + "#KANA\n\xE3\x83テスト\n", "#KANA|〓〓テスト|", none, 1},
    };
    for (const auto& c : cases) {
        std::size_t lost = 0, malformed = 0;
        EXPECT_EQ(Joined(LessonFileLines(c.bytes, &lost, &malformed)), c.lines) << c.name;
        EXPECT_EQ(lost, c.lost) << c.name;
        EXPECT_EQ(malformed, c.malformed) << c.name;
    }
}

TEST(LessonFileLines, AFewMalformedBytesAmongManyCharactersAreUtf8AndMoreAreCp932) {
    const auto text = [](int nChars, int nBad) {
        std::string s = "#KANA\n";
        for (int i = 0; i < nChars; ++i) s += "か";
        return s + std::string(static_cast<std::size_t>(nBad), '\xFF');
    };
    struct Case { const char* name; std::string bytes; bool utf8; } cases[] = {
        {"one bad byte beside four characters", text(4, 1), true},
        {"one bad byte beside three", text(3, 1), false},
        {"eight bad bytes among many", text(400, 8), true},
        {"nine bad bytes among many", text(400, 9), false},
        {"ASCII and a bad byte", "#KANA\nabc\xFF", false},
        {"CP932 kanji that pass as UTF-8 in places", Sj("#KANA\n漢字の練習です。錆びた鎖\n"), false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsLessonUtf8(c.bytes), c.utf8) << c.name;
}

TEST(LessonFileMode, FoldsLettersButWantsTheWholeLine) {
    struct Case { const char* header; int mode; } cases[] = {
        {"#KANA", 0}, {"#roman", 1}, {"#RomanJ", 2}, {"#KANAKANJI", 3}, {"#romanjkanji", 4},
        {"#KANA ", 5}, {" #KANA", 5}, {"KANA", 5}, {"", 5}, {"#ＫＡＮＡ", 5},
    };
    for (const auto& c : cases) EXPECT_EQ(LessonFileMode(Sj(c.header)), c.mode) << c.header;
}

class CustomLessonsTest : public ::testing::Test {
protected:
    CustomLessonsTest() {
        Register("one.txt", "ひとつめ", "#KANA\r\nひとつめ\r\nかさ\r\n");
        Register("two.txt", "ふたつめ", "#ROMANJ\r\nふたつめ\r\nかさ\r\n");
        h.m_doc.Settings().SaveUser();
    }
    void Register(const std::string& file, const std::string& name, const std::string& text) {
        const std::string path = h.WriteLessonFile(file, text);
        CUserSettings& s = h.m_doc.Settings();
        const int i = s.GetInt("count", 0);
        s.SetIndexedString("No", i, Sj(name));
        s.SetIndexedString("File", i, Sj(path));
        s.SetInt("count", i + 1);
    }
    std::string WriteRaw(const std::string& name, const std::string& bytes) {
        const std::string path = h.m_dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string SettingsFile() const {
        std::ifstream in(h.m_dir + "/Setting/test.dat", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // The custom-lesson lines of the settings file, as UTF-8.
    std::string SavedList() const {
        const std::string file = U8(SettingsFile());
        std::string out;
        std::size_t pos = 0;
        while (pos < file.size()) {
            const std::size_t end = file.find("\r\n", pos);
            const std::string line = file.substr(pos, end - pos);
            if (line.rfind("count=", 0) == 0 || line.rfind("KanaSepa=", 0) == 0 || line.rfind("No", 0) == 0 ||
                line.rfind("File", 0) == 0)
                out += line + "\n";
            pos = end == std::string::npos ? file.size() : end + 2;
        }
        return out;
    }
    PracticeHarness h;
};

TEST_F(CustomLessonsTest, AddChangeRemoveAndSeparatorAreSavedOnlyByOk) {
    CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
    EXPECT_EQ(Joined(m.m_aNames), "ひとつめ|ふたつめ|");
    EXPECT_EQ(U8(m.m_strSeparator), "｜");
    EXPECT_FALSE(m.m_bCanEdit);
    const std::string before = SettingsFile();

    ASSERT_TRUE(m.Add(WriteRaw("three.txt", "#KanaKanji\n\n雨,あめ\n")));  // UTF-8, no name
    EXPECT_EQ(m.m_nSelected, 2);
    m.Select(0);
    EXPECT_TRUE(m.m_bCanEdit);
    ASSERT_TRUE(m.Change(WriteRaw("four.txt", "#ROMAN\r\nEnglish\r\nHello\r\n")));
    m.Select(1);
    m.Remove();
    EXPECT_EQ(m.m_nSelected, 1);  // the entry after it takes its place
    ASSERT_TRUE(m.SetSeparator("/"));
    EXPECT_EQ(Joined(m.m_aNames), "English|オリジナル(three.txt)|");
    EXPECT_EQ(SettingsFile(), before);  // nothing saved before "OK"

    ASSERT_TRUE(m.Apply());
    const std::string d = h.m_dir;
    EXPECT_EQ(SavedList(), "count=2\nKanaSepa=/\nNo0=English\nNo1=オリジナル(three.txt)\nFile0=" + d +
                               "/four.txt\nFile1=" + d + "/three.txt\n");
    // The rest of the file is as it was.
    std::string rest = SettingsFile();
    EXPECT_EQ(rest.substr(0, rest.find("count=")), before.substr(0, before.find("count=")));
}

TEST_F(CustomLessonsTest, RemovingEveryEntryDisablesTheButtonsAndSavesAnEmptyList) {
    CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
    m.Select(1);
    m.Remove();
    EXPECT_EQ(m.m_nSelected, 0);
    EXPECT_TRUE(m.m_bCanEdit);
    m.Remove();
    EXPECT_EQ(m.m_nSelected, -1);
    EXPECT_FALSE(m.m_bCanEdit);
    m.Remove();  // nothing selected: nothing happens
    ASSERT_TRUE(m.Apply());
    EXPECT_EQ(SavedList(), "count=0\nKanaSepa=｜\n");
}

TEST_F(CustomLessonsTest, FilesThatAreNoLessonsOrCannotBeKeptAreRefusedWithTheirMessage) {
    struct Case { const char* name; std::string bytes; const char* message; } cases[] = {
        {"space.txt", "#KANA \r\nx\r\n", "このファイルは、登録できません。"},
        {"empty.txt", "", "このファイルは、登録できません。"},
        {"noheader.txt", Sj("かさ\r\n"), "このファイルは、登録できません。"},
        {"missing.txt", "", "レッスンファイルを開けません。"},
        {"folder.txt", "", "フォルダ"},
        {"絵😀.txt", "#KANA\r\nx\r\n", "このファイルは使えません。"},
    };
    for (const auto& c : cases) {
        CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
        std::string path = h.m_dir + "/" + c.name;
        if (std::string(c.name) == "folder.txt") std::filesystem::create_directory(path);
        else if (std::string(c.name) != "missing.txt") path = WriteRaw(c.name, c.bytes);
        h.m_form.m_log.clear();
        EXPECT_FALSE(m.Add(path)) << c.name;
        m.Select(0);
        EXPECT_FALSE(m.Change(path)) << c.name;
        EXPECT_EQ(Joined(m.m_aNames), "ひとつめ|ふたつめ|") << c.name;
        ASSERT_EQ(h.m_form.m_log.size(), 2u) << c.name;
        EXPECT_NE(h.m_form.m_log[0].find(c.message), std::string::npos) << h.m_form.m_log[0];
    }
    // The path is shown with 〓 where its character cannot be kept.
    EXPECT_NE(h.m_form.m_log[0].find("/絵〓.txt"), std::string::npos) << h.m_form.m_log[0];

    // Browsing such a file to start it is refused the same way.
    CCustomStartModel start(h.m_doc.Settings(), h.m_form);
    start.Browse(h.m_dir + "/絵😀.txt");
    EXPECT_FALSE(start.m_bCanStart);
    EXPECT_EQ(start.m_strBrowsedName, "");
}

TEST_F(CustomLessonsTest, DamagedListsOpenAsPairsWithinTheStoredLines) {
    CUserSettings& s = h.m_doc.Settings();
    s.SetIndexedString("No", 2, Sj("なし"));  // a name without a path
    s.SetIndexedString("File", 2, "");
    s.SetIndexedString("No", 3, "");          // a path without a name
    s.SetIndexedString("File", 3, Sj(h.m_dir + "/x.txt"));
    s.SetInt("count", 2000000000);
    CCustomLessonModel m(s, h.m_form);
    EXPECT_EQ(Joined(m.m_aNames), "ひとつめ|ふたつめ|オリジナル(x.txt)|");
    EXPECT_EQ(m.m_aPaths.size(), 3u);
}

TEST(CustomLessonSeparator, TakesOneCharacterThatCp932Holds) {
    struct Case { const char* text; bool ok; } cases[] = {
        {"", true}, {"/", true}, {"｜", true}, {"ｱ", true}, {"・", true},
        {"ab", false}, {"｜｜", false}, {"😀", false}, {"é", false},
    };
    for (const auto& c : cases) EXPECT_EQ(CCustomLessonModel::IsSeparator(c.text), c.ok) << c.text;
}

TEST_F(CustomLessonsTest, TheFileDialogStartsAtTheSamplesUntilALessonIsRegistered) {
    CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
    EXPECT_EQ(m.BrowseFolder("/usr/share/kibiki/lessons"), h.m_dir);
    m.Select(0);
    m.Remove();
    m.Remove();
    EXPECT_EQ(m.BrowseFolder("/usr/share/kibiki/lessons"), "/usr/share/kibiki/lessons");
}

TEST_F(CustomLessonsTest, AUtf8KanjiLessonStartsAndIsTypedAndALostCharacterNamesItsLine) {
    const std::string path = WriteRaw("utf8.txt", "\xEF\xBB\xBF#ROMANJKANJI\n天気\n雨,あめ\nはれ\n");
    h.m_form.m_customStartAnswers.push_back({path, 0});
    h.m_form.m_lessonSelectAnswers.push_back(7);
    h.m_view.OnNewDocument();
    ASSERT_TRUE(h.m_view.IsRunning());
    EXPECT_EQ(h.Shown(IDC_QUESTION), "雨");
    EXPECT_EQ(h.Shown(IDC_TITLE), "天気");
    h.Type("AME");
    EXPECT_EQ(h.Shown(IDC_QUESTION), "はれ");
    h.Type("HARE");
    EXPECT_FALSE(h.m_view.IsRunning());
    EXPECT_NE(h.HistoryFile().find(",天気,"), std::string::npos);

    const std::string lost = WriteRaw("lost.txt", "#KANA\n\nかさ\n𠮷,よし\n");
    h.m_form.m_customStartAnswers.push_back({lost, 1});
    h.m_form.m_lessonSelectAnswers.push_back(7);
    h.m_form.m_log.clear();
    h.m_view.OnNewDocument();
    EXPECT_FALSE(h.m_view.IsRunning());
    EXPECT_NE(h.m_form.Transcript().find("問題文　〓,よし"), std::string::npos) << h.m_form.Transcript();
}

TEST_F(CustomLessonsTest, AStrayByteOfAUtf8FileIsShownWithItsLineWhereTheFileIsRegisteredOrStarted) {
    // In a question: registered (the header is sound), but not started.
    const std::string bad = WriteRaw("bad.txt", "\xEF\xBB\xBF#KANA\nテスト\nかさ\nあ\xFFい\n");
    CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
    h.m_form.m_log.clear();
    ASSERT_TRUE(m.Add(bad));
    EXPECT_EQ(U8(m.m_aNames.back()), "テスト");
    EXPECT_NE(h.m_form.Transcript().find("4行目　あ〓い"), std::string::npos) << h.m_form.Transcript();

    h.m_form.m_customStartAnswers.push_back({bad, 0});
    h.m_form.m_lessonSelectAnswers.push_back(7);
    h.m_form.m_log.clear();
    h.m_view.OnNewDocument();
    EXPECT_FALSE(h.m_view.IsRunning());
    EXPECT_NE(h.m_form.Transcript().find("4行目に、UTF-8 として読めない文字があります"), std::string::npos)
        << h.m_form.Transcript();

    // In the name line: said, and the lesson starts.
    const std::string name = WriteRaw("name.txt", "#KANA\nテ\xFFスト\nかさ\n");
    h.m_form.m_customStartAnswers.push_back({name, 0});
    h.m_form.m_lessonSelectAnswers.push_back(7);
    h.m_form.m_log.clear();
    h.m_view.OnNewDocument();
    EXPECT_TRUE(h.m_view.IsRunning());
    EXPECT_NE(h.m_form.Transcript().find("2行目　テ〓スト"), std::string::npos) << h.m_form.Transcript();
    EXPECT_EQ(h.Shown(IDC_TITLE), "テ〓スト");
}

TEST_F(CustomLessonsTest, ANameLineOverTheCapIsCutAndSaidSoWhenRegisteredOrStartedUnregistered) {
    const std::string path = WriteRaw("long.txt", "#KANA\n" + std::string(1 << 20, 'x') + "\nかさ\n");
    const std::string cut = std::string(kLessonNameCap, 'x') + "…";
    CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
    h.m_form.m_log.clear();
    ASSERT_TRUE(m.Add(path));
    EXPECT_EQ(U8(m.m_aNames.back()), cut);
    EXPECT_NE(h.m_form.Transcript().find("レッスン名が長すぎるため"), std::string::npos) << h.m_form.Transcript();
    EXPECT_NE(h.m_form.Transcript().find("レッスン名　" + cut), std::string::npos);

    // Browsed and started without registering: said at the start.
    const auto start = [&] {
        h.m_form.m_customStartAnswers.push_back({path, 0});
        h.m_form.m_lessonSelectAnswers.push_back(7);
        h.m_form.m_log.clear();
        h.m_view.OnNewDocument();
        EXPECT_TRUE(h.m_view.IsRunning());
        return h.m_form.Transcript().find("レッスン名が長すぎるため") != std::string::npos;
    };
    EXPECT_TRUE(start());
    // Registered: said then, not at every start.
    ASSERT_TRUE(m.Apply());
    h.m_view.StopRun();
    EXPECT_FALSE(start());
}

}  // namespace
}  // namespace kibiki::test

namespace kibiki::test {
namespace {

// The lesson files that ship with the program: one per practice type, each typed to its end.
TEST(SampleLessons, EachTypeHasOneThatRegistersAndIsTypedToTheEnd) {
    const std::string dir = std::string(KIBIKI_SOURCE_DIR) + "/resources/lessons/";
    struct Case { const char* file; int mode; } cases[] = {
        {"kana.txt", 0}, {"romaji.txt", 1}, {"hiragana-romaji.txt", 2},
        {"kanji-kana.txt", 3}, {"kanji-romaji.txt", 4},
    };
    for (const auto& c : cases) {
        PracticeHarness h;
        std::string bytes;
        ASSERT_TRUE(ReadLessonBytes(dir + c.file, bytes)) << c.file;
        EXPECT_TRUE(IsUtf8Text(bytes)) << c.file;
        const auto lines = LessonFileLines(bytes);
        ASSERT_GE(lines.size(), 5u) << c.file;
        EXPECT_EQ(LessonFileMode(lines[0]), c.mode) << c.file;

        CCustomLessonModel m(h.m_doc.Settings(), h.m_form);
        ASSERT_TRUE(m.Add(dir + c.file)) << c.file;
        h.m_form.m_customStartAnswers.push_back({dir + c.file, 0});
        h.m_form.m_lessonSelectAnswers.push_back(7);
        if (c.mode == 1) h.m_form.m_msgAnswers.push_back(MsgResult::No);  // romaji, not English
        h.m_view.OnNewDocument();
        ASSERT_TRUE(h.m_view.IsRunning()) << c.file << "\n" << h.m_form.Transcript();
        for (std::size_t q = 2; q < lines.size(); ++q) h.TypeQuestion();
        EXPECT_FALSE(h.m_view.IsRunning()) << c.file;
        EXPECT_EQ(h.m_form.Transcript().find("問題文"), std::string::npos) << c.file;
        EXPECT_NE(h.HistoryFile().find("," + U8(lines[1]) + ","), std::string::npos) << c.file;
    }
}

}  // namespace
}  // namespace kibiki::test
