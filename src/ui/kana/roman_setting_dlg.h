#pragma once
// "ローマ字の設定": the fixed-spelling switch, the spelling of each kana with "変更", and
// "学習削除". The dialog edits a CRomanSettingModel; the caller applies it after "OK".
#include <QDialog>

#include "ui/app/qt_messenger.h"
#include "lessons/roman_settings.h"

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace kibiki::ui {

class CRomanSettingDlg : public QDialog {
    Q_OBJECT
public:
    // settings: shown, and the learned spellings deleted at once by "学習削除".
    CRomanSettingDlg(CUserSettings& settings, bool bFixRoman, QWidget* pParent = nullptr);

    const CRomanSettingModel& Model() const { return m_model; }

    QCheckBox* FixRoman() const { return m_pFixRoman; }
    QCheckBox* ImeSpellings() const { return m_pImeSpellings; }
    QTreeWidget* List() const { return m_pList; }
    QPushButton* ChangeButton() const { return m_pChange; }
    QPushButton* DeleteLearningButton() const { return m_pDeleteLearning; }

private:
    void ShowModel();
    // "変更": the edit dialog for the selected row.
    void EditSelectedRow();
    void FitColumns();

    CUserSettings& m_settings;
    QtMessenger m_messenger;
    CRomanSettingModel m_model;
    QCheckBox* m_pFixRoman;
    QCheckBox* m_pImeSpellings;
    QTreeWidget* m_pList;
    QPushButton* m_pChange;
    QPushButton* m_pDeleteLearning;
};

}  // namespace kibiki::ui
