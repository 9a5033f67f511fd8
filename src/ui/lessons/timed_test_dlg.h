#pragma once
// "腕試し": the test's length, the input (kana or romaji) and the text (a passage at random or
// chosen, or one of the user's registered lesson files).
#include <QDialog>
#include <string>
#include <vector>

#include "lessons/timed_test.h"

class QComboBox;

namespace kibiki::ui {

class CTimedTestDlg : public QDialog {
    Q_OBJECT
public:
    // aFileNames, aFilePaths: the registered lesson files (CP932, as the settings keep them).
    CTimedTestDlg(const TimedTestChoice& initial, const std::vector<std::string>& aFileNames = {},
                  const std::vector<std::string>& aFilePaths = {}, QWidget* pParent = nullptr);
    TimedTestChoice Choice() const;

private:
    QComboBox* m_pLength;
    QComboBox* m_pInput;
    QComboBox* m_pText;
};

}  // namespace kibiki::ui
