#pragma once
// "ローマ字の変更": one kana and the spelling typed for it. "OK" takes only the letters A-Z (an
// empty box means the default); anything else is refused with a message and the text selected.
#include <QDialog>
#include <string>

#include "ui/app/qt_messenger.h"

class QLabel;
class QLineEdit;

namespace kibiki::ui {

class CRomanEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRomanEditDlg(QWidget* pParent = nullptr);

    // Set before exec: the kana shown and the spelling offered (CP932). After "OK"
    // m_strRomanText holds the checked spelling, upper case.
    std::string m_strKanaText;
    std::string m_strRomanText;

    QLineEdit* RomanEdit() const { return m_pRoman; }
    QLabel* KanaLabel() const { return m_pKana; }

    int exec() override;
    void accept() override;

private:
    QtMessenger m_messenger;
    QLabel* m_pKana;
    QLineEdit* m_pRoman;
};

}  // namespace kibiki::ui
