#pragma once
// "オリジナルレッスン設定": the registered lesson files and the reading separator of kanji
// lessons. The dialog edits a CCustomLessonModel; "OK" applies it and saves.
#include <QDialog>
#include <functional>

#include "ui/app/qt_messenger.h"
#include "lessons/custom_lessons.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace kibiki::ui {

class CCustomLessonDlg : public QDialog {
    Q_OBJECT
public:
    // strSampleFolder: where the open-file dialog starts while nothing is registered.
    CCustomLessonDlg(CUserSettings& settings, const QString& strSampleFolder, QWidget* pParent = nullptr);

    const CCustomLessonModel& Model() const { return m_model; }

    // How "追加" and "変更" ask for a file: the open-file dialog in the given folder; tests put
    // their own answer here. Returns the chosen path (empty when cancelled).
    std::function<QString(QWidget*, const QString&)> m_fnChooseFile;

    QListWidget* List() const { return m_pList; }
    QPushButton* Button(int nId) const;
    QLineEdit* Separator() const { return m_pSeparator; }

    void accept() override;

private:
    void ShowModel();
    QString ChooseFile();

    QtMessenger m_messenger;
    CCustomLessonModel m_model;
    QString m_strSampleFolder;
    QListWidget* m_pList;
    QPushButton* m_pAdd;
    QPushButton* m_pDelete;
    QPushButton* m_pChange;
    QLineEdit* m_pSeparator;
};

}  // namespace kibiki::ui
