// What the question and answer boxes show while a long question is typed, at every text size:
// the real practice window driven by the core view, read back from the boxes' own geometry.
#include <QApplication>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

#include "ui/app/color_edit.h"
#include "ui/app/practice_window.h"
#include "ui/app/progress_bar.h"
#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "support/fakes.h"
#include "platform/keyboard_layout.h"
#include "text/cp932.h"

using namespace kibiki;
using namespace kibiki::ui;

namespace {

// The window with its dialogs answered: the custom lesson in m_strPath, all questions in order.
class QuietPracticeWindow : public PracticeWindow {
public:
    std::string m_strPath;
    int RunLessonSelectDialog(const std::array<std::string, 8>&) override { return 7; }
    bool RunCustomStartDialog(CUserSettings&, std::string& strPath, int& nMode) override {
        strPath = m_strPath;
        nMode = 0;
        return true;
    }
    MsgResult ShowMessage(const std::string& text, const std::string&, MsgButtons, MsgIcon) override {
        m_aMessages.push_back(Cp932ToUtf8(text));
        return MsgResult::No;
    }
    void Beep() override {}
    std::vector<std::string> m_aMessages;
};

class PagingRig {
public:
    PagingRig() : m_view(m_doc, m_form, m_layout, m_clock) {
        m_doc.Settings().SetFolder(m_dir.filePath("Setting/").toStdString());
        m_doc.Settings().SetProfile(&m_profile);
        m_doc.Settings().SetMessenger(&m_form);
        m_doc.Settings().SetFlushToDisk(false);
        m_doc.Settings().LoadUser("test");
        m_doc.SetKeyboard(&m_keyboard);
        m_view.OnNewDocument();  // the start-up document: no dialog
        m_form.show();
    }

    void SetTextSize(int nFont) {
        m_view.SetFont(nFont);
        m_form.ApplyTextSize(m_view.PageLines());
    }

    // header: "#KANA" or "#ROMANJ"; questions in UTF-8.
    void Start(const std::string& header, const std::vector<std::string>& questions) {
        std::string file = header + "\r\nPaging\r\n";
        for (const auto& q : questions) file += q + "\r\n";
        m_form.m_strPath = m_dir.filePath("paging.txt").toStdString();
        std::ofstream(m_form.m_strPath, std::ios::binary) << Utf8ToCp932(file);
        m_view.OnNewDocument();
    }

    // Types the expected key; false once nothing is due.
    bool TypeOne() {
        const unsigned char ch = m_doc.NextExpectedKey();
        if (!m_view.IsRunning() || ch == 0) return false;
        m_view.OnTypedChar(ch);
        return true;
    }

    CColorEdit& Box(int nId) { return *m_form.Edit(nId); }

    // The question box's line that holds its caret.
    int CaretLine() {
        const QTextCursor c = Box(IDC_QUESTION).textCursor();
        const QTextLine line = c.block().layout()->lineForTextPosition(c.positionInBlock());
        return c.block().firstLineNumber() + (line.isValid() ? line.lineNumber() : 0);
    }

    // Lines of the box shown whole, as "first-last", or "-" when none is.
    std::string ShownLines(int nId) {
        CColorEdit& box = Box(nId);
        const int nHeight = box.viewport()->height();
        const std::string text = box.Cp932Text();
        int first = -1, last = -1;
        int prevLine = -1;
        for (std::size_t pos = 0; pos <= text.size(); pos += pos < text.size() ? ByteLen(text, pos) : 1) {
            const int line = box.LineFromOffset(static_cast<int>(pos));
            if (line == prevLine || pos == text.size()) continue;
            prevLine = line;
            QTextCursor c(box.document());
            c.setPosition(static_cast<int>(QString::fromStdString(Cp932ToUtf8(text.substr(0, pos))).size()));
            const QRect r = box.cursorRect(c);
            if (r.top() >= 0 && r.bottom() < nHeight) {
                if (first < 0) first = line;
                last = line;
            }
        }
        return first < 0 ? "-" : std::to_string(first) + "-" + std::to_string(last);
    }

    static std::size_t ByteLen(const std::string& s, std::size_t pos) {
        const auto b = static_cast<unsigned char>(s[pos]);
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
    }

    // A kana question that wraps to nLines lines in the question box, its last line part full.
    std::string QuestionOfLines(int nLines) {
        const QString kana = QStringLiteral("あいうえおかきくけこさしすせそたちつてと");
        QString q;
        int nPastStart = 0;  // characters on the last line
        while (nPastStart < 3) {
            const QString next = q + kana[q.size() % kana.size()];
            m_form.SetControlText(IDC_QUESTION, Utf8ToCp932(next.toStdString()));
            if (m_form.QuestionLineCount() > nLines) break;
            if (m_form.QuestionLineCount() == nLines) ++nPastStart;
            q = next;
        }
        return q.toStdString();
    }

    QTemporaryDir m_dir;
    FakeClock m_clock;
    FakeKeyboardState m_keyboard;
    FakeProfile m_profile;
    FixedKeyboardLayout m_layout{true};
    QuietPracticeWindow m_form;
    CKibikiDoc m_doc;
    CKibikiView m_view;
};

TEST(PagingWindow, EachPageShowsTheLineBeingTypedInBothBoxes) {
    for (int nFont : {1, 2, 3}) {
        for (const char* header : {"#KANA", "#ROMANJ"}) {
            for (int nLines = 1; nLines <= 5; ++nLines) {
                PagingRig rig;
                rig.SetTextSize(nFont);
                const std::string question = rig.QuestionOfLines(nLines);
                rig.Start(header, {question, "つぎ"});
                const std::string where = std::string(header) + " font " + std::to_string(nFont) +
                                          " lines " + std::to_string(nLines);
                ASSERT_TRUE(rig.m_view.IsRunning()) << where;
                ASSERT_EQ(rig.m_form.QuestionLineCount(), nLines) << where;
                const int nPages = (nLines + nFont - 1) / nFont;
                EXPECT_EQ(rig.m_form.Progress()->maximum(), nPages) << where;

                std::string seen, expected;
                int caretLine = 0;
                auto look = [&](int line) {
                    const int page = line / nFont;
                    const int last = std::min(nLines, (page + 1) * nFont) - 1;
                    expected += " " + std::to_string(page * nFont) + "-" + std::to_string(last) + "/" +
                                std::to_string(page + 1);
                    seen += " " + rig.ShownLines(IDC_QUESTION) + "/" +
                            std::to_string(rig.m_form.Progress()->value());
                    // The answer box holds the page typed so far; its caret is on show.
                    const std::string answer = rig.ShownLines(IDC_ANSWER);
                    const int answerLines = rig.Box(IDC_ANSWER).LineCount();
                    EXPECT_TRUE(answer == "0-" + std::to_string(std::min(answerLines, nFont) - 1) ||
                                (answer == "-" && rig.Box(IDC_ANSWER).Cp932Text().empty()))
                        << where << " line " << line << " answer " << answer;
                };
                look(0);
                while (rig.m_doc.Run().QuestionsDone() == 0 && rig.TypeOne()) {
                    const int line = rig.CaretLine();
                    if (rig.m_doc.Run().QuestionsDone() == 0 && line != caretLine) {
                        caretLine = line;
                        look(line);
                    }
                }
                EXPECT_EQ(seen, expected) << where;
                // The next question starts on its first line.
                EXPECT_EQ(Cp932ToUtf8(rig.m_form.GetControlText(IDC_QUESTION)), "つぎ") << where;
                EXPECT_EQ(rig.ShownLines(IDC_QUESTION), "0-0") << where;
                EXPECT_EQ(rig.Box(IDC_QUESTION).FirstVisibleLine(), 0) << where;
            }
        }
    }
}

// The fourth line's tops under the third at 小: a page shows its lines whole and nothing below
// them, read from the pixels the box paints (run at 1x and 2x and at several DPIs by ctest).
TEST(PagingWindow, APageShowsItsLinesWholeAndNothingOfTheNext) {
    for (int nFont : {1, 2, 3}) {
        PagingRig rig;
        rig.SetTextSize(nFont);
        const int nLines = 7;
        rig.m_form.SetControlText(IDC_QUESTION, Utf8ToCp932(rig.QuestionOfLines(nLines)));
        CColorEdit& box = rig.Box(IDC_QUESTION);
        ASSERT_EQ(box.LineCount(), nLines) << nFont;
        const QTextLayout* pLayout = box.document()->begin().layout();
        const qreal lineHeight = pLayout->lineAt(0).height();
        const int nHeight = box.viewport()->height();
        EXPECT_LE(nFont * lineHeight, nHeight) << "font " << nFont << ": the page's lines do not fit";
        for (int first = 0; first < nLines; first += nFont) {
            rig.m_form.ShowQuestionFromLine(first);
            const QImage img = box.viewport()->grab().toImage();
            const qreal dpr = img.devicePixelRatio();
            const QColor back = box.viewport()->palette().color(QPalette::Base);
            // Rows under the page's last line: only the background.
            const int nPageRows = static_cast<int>(std::ceil(std::min(nFont, nLines - first) * lineHeight * dpr));
            int inkRows = 0;
            for (int y = nPageRows; y < img.height(); ++y) {
                bool ink = false;
                for (int x = 0; x < img.width() && !ink; ++x) ink = img.pixelColor(x, y) != back;
                inkRows += ink;
            }
            EXPECT_EQ(inkRows, 0) << "font " << nFont << " page from line " << first << ", dpr " << dpr;
            // And the page itself is drawn.
            bool pageInk = false;
            for (int x = 0; x < img.width() && !pageInk; ++x)
                pageInk = img.pixelColor(x, static_cast<int>(lineHeight * dpr / 2)) != back;
            EXPECT_TRUE(pageInk) << "font " << nFont << " page from line " << first;
        }
    }
}

}  // namespace
