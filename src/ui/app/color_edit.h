#pragma once
// The question and answer boxes: multi-line, read-only, no scroll bars, written only by the
// program. The box never keeps the keyboard focus, so no typed character can land in it.
// Positions given to it are byte offsets into its CP932 text.
#include <QPlainTextEdit>
#include <cstdint>
#include <string>

namespace kibiki::ui {

class CColorEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CColorEdit(QWidget* pParent = nullptr);

    // text: CP932.
    void SetCp932Text(const std::string& strText);
    const std::string& Cp932Text() const { return m_strText; }

    void SetBackColor(std::uint32_t crBack);

    // An empty selection at the byte offset, scrolled into view unless bScroll is false.
    void SetCaret(int nByteOffset, bool bScroll = true);
    // Visual (wrapped) line holding the byte offset; the last line for offsets past the end.
    int LineFromOffset(int nByteOffset);
    int LineCount();
    // The line at the top of the box, whatever follows it.
    void ShowFromLine(int nLine);
    int FirstVisibleLine() const;

    // Height of the formatting rectangle: the area the text lines fill.
    int FormatHeight() const;
    // The largest font of the box's family whose laid-out line fits nHeight pixels.
    void SetCellHeight(int nHeight);
    // Bottom of the last line shown whole, in viewport pixels; 0 when none is.
    int WholeLinesBottom() const;

protected:
    void focusInEvent(QFocusEvent* pEvent) override;
    // Whole lines only: the strip under the last one is blank, never the top of the next line.
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int CharIndex(int nByteOffset) const;
    void EnsureLayout();

    std::string m_strText;
};

}  // namespace kibiki::ui
