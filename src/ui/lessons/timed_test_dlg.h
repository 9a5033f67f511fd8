#pragma once
// "腕試し": the test's length, the input (kana or romaji) and the text (at random or chosen).
#include <QDialog>

#include "lessons/timed_test.h"

class QComboBox;

namespace kibiki::ui {

class CTimedTestDlg : public QDialog {
    Q_OBJECT
public:
    CTimedTestDlg(const TimedTestChoice& initial, QWidget* pParent = nullptr);
    TimedTestChoice Choice() const;

private:
    QComboBox* m_pLength;
    QComboBox* m_pInput;
    QComboBox* m_pText;
};

}  // namespace kibiki::ui
