#include "ui/app/color_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <cmath>

#include "ui/app/colorref.h"
#include "text/cp932.h"
#include "text/sjis.h"

namespace kibiki::ui {

namespace {

// A line's height as the box lays it out: kana and kanji may come from a fallback font with a
// taller ascent than the box's own, and the layout rounds the height up, so the font's own
// height() can fall short of it.
qreal LaidOutLineHeight(const QFont& font) {
    QTextLayout layout(QStringLiteral("Agあア漢｜ー"), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    return line.isValid() ? line.height() : QFontMetricsF(font).height();
}

}  // namespace

CColorEdit::CColorEdit(QWidget* pParent) : QPlainTextEdit(pParent) {
    setReadOnly(true);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    document()->setDocumentMargin(0);
    setViewportMargins(2, 0, 2, 0);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0x64, 0x64, 0x64));  // the border line
    setPalette(pal);
    SetBackColor(0xFFFFFF);
}

void CColorEdit::SetBackColor(std::uint32_t crBack) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, FromColorRef(crBack));
    setPalette(pal);
}

void CColorEdit::SetCp932Text(const std::string& strText) {
    // A right key adds a character to the answer: adding it lays out and repaints only its line,
    // where setting the whole text again lays out the document and repaints the whole box.
    const bool bAppends = !m_strText.empty() && strText.size() > m_strText.size() &&
                          strText.compare(0, m_strText.size(), m_strText) == 0;
    if (bAppends) {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        // As after setPlainText: no undo history, the caret at the start.
        document()->setUndoRedoEnabled(false);
        end.insertText(QString::fromStdString(Cp932ToUtf8(strText.substr(m_strText.size()))));
        document()->setUndoRedoEnabled(true);
        QTextCursor start = textCursor();
        start.setPosition(0);
        setTextCursor(start);
    } else {
        setPlainText(QString::fromStdString(Cp932ToUtf8(strText)));
    }
    m_strText = strText;
    verticalScrollBar()->setValue(0);
}

int CColorEdit::CharIndex(int nByteOffset) const {
    // Every CP932 character is one UTF-16 unit (all of them lie in the BMP); an offset inside a
    // double-byte character stands for that character.
    int nChars = 0;
    std::size_t pos = 0;
    const std::size_t nEnd = static_cast<std::size_t>(std::max(0, nByteOffset));
    while (pos < m_strText.size() && pos + CharLenAt(m_strText, pos) <= nEnd) {
        pos += CharLenAt(m_strText, pos);
        ++nChars;
    }
    return nChars;
}

void CColorEdit::EnsureLayout() {
    // The box lays out lazily, as blocks become visible; lines are asked for before that.
    auto* pLayout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
    if (!pLayout) return;
    // A box not shown yet has had no resize event, so its layout does not know its width.
    for (QWidget* p : {static_cast<QWidget*>(this), viewport()}) {
        if (!p->testAttribute(Qt::WA_PendingResizeEvent)) continue;
        p->setAttribute(Qt::WA_PendingResizeEvent, false);
        QResizeEvent event(p->size(), QSize());
        QCoreApplication::sendEvent(p, &event);
    }
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) pLayout->ensureBlockLayout(b);
}

void CColorEdit::SetCaret(int nByteOffset, bool bScroll) {
    QTextCursor c = textCursor();
    c.setPosition(std::min(CharIndex(nByteOffset), document()->characterCount() - 1));
    // setTextCursor itself scrolls the caret into view.
    const int nTop = verticalScrollBar()->value();
    setTextCursor(c);
    if (bScroll) ensureCursorVisible();
    else verticalScrollBar()->setValue(nTop);
}

int CColorEdit::LineFromOffset(int nByteOffset) {
    EnsureLayout();
    const int nIndex = std::min(CharIndex(nByteOffset), document()->characterCount() - 1);
    int nLine = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        const QTextLayout* pLayout = b.layout();
        const int nBlockLines = pLayout ? std::max(1, pLayout->lineCount()) : 1;
        if (nIndex < b.position() + b.length()) {
            const QTextLine line = pLayout ? pLayout->lineForTextPosition(nIndex - b.position()) : QTextLine();
            return nLine + (line.isValid() ? line.lineNumber() : 0);
        }
        nLine += nBlockLines;
    }
    return std::max(0, nLine - 1);
}

int CColorEdit::LineCount() {
    EnsureLayout();
    int n = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        n += b.layout() ? std::max(1, b.layout()->lineCount()) : 1;
    return std::max(1, n);
}

void CColorEdit::ShowFromLine(int nLine) {
    EnsureLayout();
    verticalScrollBar()->setValue(nLine);
}

int CColorEdit::FirstVisibleLine() const { return verticalScrollBar()->value(); }

int CColorEdit::FormatHeight() const {
    // From the frame, not the viewport: a box not shown yet has not placed its viewport.
    const QMargins m = viewportMargins();
    return contentsRect().height() - m.top() - m.bottom();
}

void CColorEdit::SetCellHeight(int nHeight) {
    QFont f = font();
    int nPixels = std::max(1, nHeight);
    f.setPixelSize(nPixels);
    while (nPixels > 1 && LaidOutLineHeight(f) > nHeight) f.setPixelSize(--nPixels);
    setFont(f);
}

int CColorEdit::WholeLinesBottom() const {
    const qreal height = viewport()->height();
    qreal bottom = 0;
    for (QTextBlock b = firstVisibleBlock(); b.isValid(); b = b.next()) {
        const QRectF block = blockBoundingGeometry(b).translated(contentOffset());
        if (block.top() >= height) break;
        const QTextLayout* pLayout = b.layout();
        for (int i = 0; pLayout && i < pLayout->lineCount(); ++i) {
            const QRectF line = pLayout->lineAt(i).rect().translated(block.topLeft());
            if (line.bottom() <= 0) continue;  // scrolled past
            if (line.bottom() > height) return static_cast<int>(std::ceil(bottom));
            bottom = line.bottom();
        }
    }
    return static_cast<int>(std::ceil(bottom));
}

void CColorEdit::paintEvent(QPaintEvent* pEvent) {
    QPlainTextEdit::paintEvent(pEvent);
    const int nBottom = WholeLinesBottom();
    if (nBottom <= 0) return;  // not even one line fits: a part of it beats a blank box
    QPainter p(viewport());
    p.fillRect(QRect(0, nBottom, viewport()->width(), viewport()->height() - nBottom),
               viewport()->palette().brush(QPalette::Base));
}

void CColorEdit::focusInEvent(QFocusEvent* pEvent) {
    QPlainTextEdit::focusInEvent(pEvent);
    // Hand the focus on at once; the form takes every keystroke.
    if (QWidget* pWindow = window()) {
        if (QWidget* pTarget = pWindow->focusProxy() ? pWindow->focusProxy() : parentWidget())
            pTarget->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace kibiki::ui
