#pragma once
// "レッスンの選択": eight lessons as radio buttons, Lesson1 chosen whenever it opens.
#include <QDialog>
#include <array>
#include <string>

class QRadioButton;

namespace kibiki::ui {

class CLessonSelectDlg : public QDialog {
    Q_OBJECT
public:
    // labels: CP932 radio texts; index 7 is the custom lesson.
    explicit CLessonSelectDlg(const std::array<std::string, 8>& labels, QWidget* pParent = nullptr);
    // The checked radio, 0-7.
    int Selected() const;
    QRadioButton* Radio(int nIndex) const { return m_apRadios.at(nIndex); }

private:
    std::array<QRadioButton*, 8> m_apRadios{};
};

}  // namespace kibiki::ui
