#pragma once
// The timed test's result: its figures, the grade each rule set gives (目安), the next grade's
// line; "もう一度" or "閉じる". Every text comes decided.
#include <QDialog>

#include "lessons/practice_form.h"

namespace kibiki::ui {

class CTimedResultDlg : public QDialog {
    Q_OBJECT
public:
    explicit CTimedResultDlg(const TimedTestResultInfo& info, QWidget* pParent = nullptr);
    // LESSON_END_AGAIN or LESSON_END_STOP (also Escape, close).
    int Run();

private:
    int m_nAnswer = LESSON_END_STOP;
};

}  // namespace kibiki::ui
