// Key events to judge bytes, and the road from a key press to the judge.
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

#include "ui/app/color_edit.h"
#include "ui/app/key_translator.h"
#include "ui/app/main_frame.h"
#include "ui/app/practice_window.h"
#include "kana/jis_keyboard.h"
#include "text/cp932.h"

using namespace kibiki;
using namespace kibiki::ui;

namespace {

std::string Kana(const char* utf8) { return Utf8ToCp932(utf8); }

// A key event as X delivers it: keycode = Linux input code + 8.
QKeyEvent XKey(int nInputCode, const QString& text, Qt::KeyboardModifiers mods = {}, int nKey = 0) {
    return QKeyEvent(QEvent::KeyPress, nKey, mods, static_cast<quint32>(nInputCode + 8), 0, 0, text);
}

KeyStateStore KanaLockOn() {
    KeyStateStore state;
    KeyStateArray a{};
    a[VK_KANA] = 1;
    state.SetKeyboardState(a);
    return state;
}

}  // namespace

TEST(KeyTranslator, KanaLockGivesTheKanaOfThePhysicalKeyWhateverTheLayout) {
    const KeyStateStore state = KanaLockOn();
    const KeyTranslator tr(&state);
    struct Case { int code; const char* text; bool shift; const char* kana; } cases[] = {
        {30, "a", false, "ﾁ"},  {2, "1", false, "ﾇ"},  {16, "q", false, "ﾀ"},  {40, "'", false, "ｹ"},
        {4, "#", true, "ｧ"},    {44, "Z", true, "ｯ"},  {11, ")", true, "ｦ"},  {51, "<", true, "､"},
        {52, ">", true, "｡"},   {53, "?", true, "･"},  {27, "}", true, "｢"},  {43, "|", true, "｣"},
        {26, "[", false, "ﾞ"},  {27, "]", false, "ﾟ"}, {13, "=", false, "ﾍ"}, {12, "-", false, "ﾎ"},
        {33, "F", true, "ﾊ"},   // no small form: Shift gives the same kana
        // keys a US map leaves without a character still count by their place
        {89, "", false, "ﾛ"},   {124, "", false, "ｰ"}, {89, "", true, "ﾛ"},
    };
    for (const auto& c : cases) {
        const QKeyEvent e = XKey(c.code, QString::fromUtf8(c.text), c.shift ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(tr.Translate(e), Kana(c.kana)) << c.code << (c.shift ? " shifted" : "");
    }
    // Keys outside the 48 give what the layout gives.
    EXPECT_EQ(tr.Translate(XKey(57, " ")), " ");
    EXPECT_EQ(tr.Translate(XKey(14, "\b")), "\b");
    EXPECT_EQ(tr.Translate(XKey(103, "")), "");  // arrow up
    // With Ctrl the key is a control character, as without the kana lock.
    EXPECT_EQ(tr.Translate(XKey(30, "\x01", Qt::ControlModifier)), "\x01");
    // No native code (another platform): the key's JIS character decides.
    const QKeyEvent noCode(QEvent::KeyPress, Qt::Key_Underscore, Qt::ShiftModifier, 0, 0, 0, "_");
    EXPECT_EQ(tr.Translate(noCode), Kana("ﾛ"));
    const QKeyEvent letter(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, 0, 0, "a");
    EXPECT_EQ(tr.Translate(letter), Kana("ﾁ"));
}

TEST(KeyTranslator, WithoutKanaLockKeysGiveTheLayoutsCharacterAsOneByte) {
    KeyStateStore state;
    const KeyTranslator tr(&state);
    struct Case { const char* text; std::string bytes; } cases[] = {
        {"a", "a"}, {"A", "A"}, {"@", "@"}, {"\\", "\\"}, {"\r", "\r"}, {"\t", "\t"}, {"\x1b", "\x1b"},
        {"", ""},                              // keys without text
        {"ｱ", Kana("ｱ")},                     // a kana layout's own half-width kana
        {"¥", "\\"},                           // the yen sign is byte 0x5C
        {"é", std::string(1, KeyTranslator::kUnknownChar)},   // no single-byte form: a wrong key
        {"あ", std::string(1, KeyTranslator::kUnknownChar)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tr.Translate(XKey(30, QString::fromUtf8(c.text))), c.bytes) << c.text;
}

TEST(KeyTranslator, KeypadKeysTypeWhatTheyPrintWithTheKanaLockOnOrOff) {
    // Not on the kana layout: they type their ASCII as the main keys do with the lock off.
    struct Case { int code; int key; const char* text; } cases[] = {
        {78, Qt::Key_Plus, "+"}, {74, Qt::Key_Minus, "-"}, {55, Qt::Key_Asterisk, "*"},
        {98, Qt::Key_Slash, "/"}, {83, Qt::Key_Period, "."}, {79, Qt::Key_1, "1"},
        {96, Qt::Key_Enter, "\r"},
    };
    const KeyStateStore lockOn = KanaLockOn();
    const KeyStateStore lockOff;
    for (const KeyStateStore* state : {&lockOn, &lockOff}) {
        const KeyTranslator tr(state);
        for (const auto& c : cases) {
            const QString text = QString::fromUtf8(c.text);
            EXPECT_EQ(tr.Translate(XKey(c.code, text, Qt::KeypadModifier, c.key)), c.text) << c.text;
            // No native code: the keypad flag, not the key's JIS place, decides.
            const QKeyEvent noCode(QEvent::KeyPress, c.key, Qt::KeypadModifier, 0, 0, 0, text);
            EXPECT_EQ(tr.Translate(noCode), c.text) << c.text;
        }
    }
}

TEST(KeyTranslator, KanaLockTypesTheCoreKeyboardsKanaOfEveryKey) {
    const KeyStateStore state = KanaLockOn();
    const KeyTranslator tr(&state);
    std::set<int> reached;
    for (int code = 1; code < 256; ++code) {
        const int k = KeyTranslator::KeyIndexFromInputCode(code);
        if (k < 0) continue;
        reached.insert(k);
        for (const bool shift : {false, true}) {
            const QKeyEvent e = XKey(code, "", shift ? Qt::ShiftModifier : Qt::NoModifier);
            EXPECT_EQ(tr.Translate(e), std::string(1, static_cast<char>(KanaOfKey(k, shift))))
                << "code " << code << (shift ? " shifted" : "");
        }
    }
    EXPECT_EQ(reached.size(), 48u);
    EXPECT_EQ(*reached.rbegin(), 47);
}

class RoutingTest : public ::testing::Test {
protected:
    RoutingTest() {
        frame.Form()->m_fnTypedChar = [this](char ch) { typed += ch; };
        frame.Form()->SetKeyTranslator(&translator);
        frame.show();
        QApplication::setActiveWindow(&frame);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    CMainFrame frame;
    KeyStateStore state;
    KeyTranslator translator{&state};
    std::string typed;
};

TEST_F(RoutingTest, EveryTypedCharacterReachesTheJudgeAndNoneTheBoxes) {
    // Keys go where the window system sends them: to the focus widget.
    ASSERT_EQ(QApplication::focusWidget(), frame.Form());
    QTest::keyClicks(frame.Form(), "ka");
    QTest::keyClick(frame.Form(), Qt::Key_Tab);
    QTest::keyClick(frame.Form(), Qt::Key_Backspace);
    QTest::keyClick(frame.Form(), Qt::Key_Return);
    QTest::keyClick(frame.Form(), Qt::Key_Left);  // no character: nothing
    // Clicking into the question box first changes nothing.
    QTest::mouseClick(frame.Form()->Edit(1073)->viewport(), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(typed, std::string("ka\t\b\r!"));
    EXPECT_TRUE(frame.Form()->Edit(1073)->toPlainText().isEmpty());
    EXPECT_TRUE(frame.Form()->Edit(1074)->toPlainText().isEmpty());
}

TEST_F(RoutingTest, EnabledShortcutsAreCommandsNotCharacters) {
    int nCommands = 0;
    QObject::connect(&frame, &CMainFrame::Command, [&](int id) { nCommands += id == ID_FILE_NEW; });
    QTest::keyClick(frame.Form(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(nCommands, 1);
    EXPECT_EQ(typed, "");
    frame.SetCommandEnabled(ID_FILE_NEW, false);  // during a run: the key is a typed character
    QTest::keyClick(frame.Form(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(nCommands, 1);
}
