#pragma once
// "オリジナルレッスン開始": a registered lesson or a browsed file, all questions or 20 random.
#include <QDialog>
#include <functional>

#include "lessons/custom_start.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace kibiki::ui {

class CCustomStartDlg : public QDialog {
    Q_OBJECT
public:
    CCustomStartDlg(CUserSettings& settings, Messenger& messenger, QWidget* pParent = nullptr);

    const CCustomStartModel& Model() const { return m_model; }

    // How "参照(&B)..." asks for a file: the open-file dialog in the given folder (the sample
    // lessons while nothing is registered); tests put their own answer here. Returns the chosen
    // path (empty when cancelled).
    std::function<QString(QWidget*, const QString&)> m_fnChooseFile;

    QListWidget* List() const { return m_pList; }
    QPushButton* StartButton() const { return m_pStart; }
    QLabel* BrowsedName() const { return m_pBrowsed; }
    QRadioButton* ModeRadio(int nMode) const { return nMode ? m_pRandom : m_pAll; }

    void accept() override;

private:
    void ShowModel();

    CCustomStartModel m_model;
    QListWidget* m_pList;
    QPushButton* m_pStart;
    QLabel* m_pBrowsed;
    QRadioButton* m_pAll;
    QRadioButton* m_pRandom;
};

// The open-file dialog of lesson files: "*.txt", existing files only, opening in strFolder
// (empty: where it was last).
QString ChooseLessonFile(QWidget* pParent, const QString& strFolder);

}  // namespace kibiki::ui
