#include "ui/app/accessible.h"
#include "ui/lessons/custom_lesson_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QValidator>

#include "ui/app/dialog_frame.h"
#include "ui/app/qt_text.h"
#include "ui/lessons/custom_start_dlg.h"

namespace kibiki::ui {

namespace {

// One character with a CP932 form, or nothing.
class SeparatorValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& strInput, int&) const override {
        return CCustomLessonModel::IsSeparator(strInput.toStdString()) ? Acceptable : Invalid;
    }
};

}  // namespace

CCustomLessonDlg::CCustomLessonDlg(CUserSettings& settings, const QString& strSampleFolder, QWidget* pParent)
    : QDialog(pParent),
      m_fnChooseFile(ChooseLessonFile),
      m_messenger(this),
      m_model(settings, m_messenger),
      m_strSampleFolder(strSampleFolder) {
    setObjectName(QStringLiteral("customLessonDlg"));
    const DialogUnits du = SetUpDialogFrame(*this, QStringLiteral("オリジナルレッスン設定"), 236, 156);

    auto* pPrompt = new QLabel(QStringLiteral("オリジナルレッスンの設定をします。"), this);
    pPrompt->setGeometry(du.Rect(7, 7, 160, 10));
    auto* pListLabel = new QLabel(QStringLiteral("レッスン項目"), this);
    pListLabel->setGeometry(du.Rect(7, 21, 160, 10));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("lessons"));
    m_pList->setAccessibleName(QStringLiteral("レッスン項目"));
    MarkListFocus(*m_pList);
    m_pList->setGeometry(du.Rect(7, 32, 160, 96));

    AddAcceptCancel(*this, du, QStringLiteral("OK"), QStringLiteral("ok"), {174, 7, 55, 14}, {174, 25, 55, 14});
    m_pAdd = AddButton(*this, du, QStringLiteral("追加"), QStringLiteral("add"), {174, 50, 55, 14});
    m_pDelete = AddButton(*this, du, QStringLiteral("削除"), QStringLiteral("delete"), {174, 68, 55, 14});
    m_pChange = AddButton(*this, du, QStringLiteral("変更"), QStringLiteral("change"), {174, 86, 55, 14});

    auto* pSepLabel = new QLabel(QStringLiteral("漢字モード時のひらがな区切り文字"), this);
    pSepLabel->setGeometry(du.Rect(7, 136, 136, 12));
    m_pSeparator = new QLineEdit(FromCp932(m_model.m_strSeparator), this);
    m_pSeparator->setObjectName(QStringLiteral("separator"));
    m_pSeparator->setGeometry(du.Rect(146, 135, 21, 14));
    m_pSeparator->setAlignment(Qt::AlignCenter);
    m_pSeparator->setValidator(new SeparatorValidator(m_pSeparator));
    pSepLabel->setBuddy(m_pSeparator);

    connect(m_pAdd, &QPushButton::clicked, this, [this] {
        const QString strPath = ChooseFile();
        if (!strPath.isEmpty() && m_model.Add(strPath.toStdString())) ShowModel();
    });
    connect(m_pChange, &QPushButton::clicked, this, [this] {
        const QString strPath = ChooseFile();
        if (!strPath.isEmpty() && m_model.Change(strPath.toStdString())) ShowModel();
    });
    connect(m_pDelete, &QPushButton::clicked, this, [this] {
        m_model.Remove();
        ShowModel();
    });
    connect(m_pList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> items = m_pList->selectedItems();
        m_model.Select(items.isEmpty() ? -1 : m_pList->row(items.first()));
        ShowModel();
    });
    ShowModel();
}

QPushButton* CCustomLessonDlg::Button(int nId) const {
    switch (nId) {
        case 1069: return m_pAdd;
        case 1070: return m_pDelete;
        case 1071: return m_pChange;
        case 1: return findChild<QPushButton*>(QStringLiteral("ok"));
        case 2: return findChild<QPushButton*>(QStringLiteral("cancel"));
        default: return nullptr;
    }
}

QString CCustomLessonDlg::ChooseFile() {
    if (!m_fnChooseFile) return {};
    return m_fnChooseFile(this, QString::fromStdString(m_model.BrowseFolder(m_strSampleFolder.toStdString())));
}

void CCustomLessonDlg::ShowModel() {
    {
        const QSignalBlocker block(m_pList);
        bool same = m_pList->count() == static_cast<int>(m_model.m_aNames.size());
        for (int i = 0; same && i < m_pList->count(); ++i)
            same = m_pList->item(i)->text() == FromCp932(m_model.m_aNames[i]);
        if (!same) {
            m_pList->clear();
            for (const std::string& name : m_model.m_aNames) m_pList->addItem(FromCp932(name));
        }
        m_pList->setCurrentRow(m_model.m_nSelected);
        if (m_model.m_nSelected < 0) m_pList->clearSelection();
    }
    m_pDelete->setEnabled(m_model.m_bCanEdit);
    m_pChange->setEnabled(m_model.m_bCanEdit);
}

void CCustomLessonDlg::accept() {
    m_model.SetSeparator(m_pSeparator->text().toStdString());
    m_model.Apply();
    QDialog::accept();
}

}  // namespace kibiki::ui
