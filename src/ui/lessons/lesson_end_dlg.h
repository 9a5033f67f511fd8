#pragma once
// "レッスン終了": the run's evaluation, accuracy, speed and most missed keys, and the choice of
// the next lesson, the same one again, or stopping. Every text and button state comes decided.
#include <QDialog>

#include "lessons/practice_form.h"

class QPushButton;

namespace kibiki::ui {

class CColorStatic;

class CLessonEndDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLessonEndDlg(const LessonEndInfo& info, QWidget* pParent = nullptr);

    // LESSON_END_NEXT, LESSON_END_AGAIN (also Enter) or LESSON_END_STOP (also Escape, close).
    int Run();

    // "next", "again", "stop" or "show_all".
    QPushButton* Button(const char* pszName) const;

protected:
    void reject() override;

private:
    LessonEndInfo m_info;
};

}  // namespace kibiki::ui
