#include "ui/app/accessible.h"
#include "ui/lessons/custom_start_dlg.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "ui/app/data_folder.h"
#include "ui/app/dialog_frame.h"
#include "ui/app/qt_text.h"
#include "text/string_ids.h"

namespace kibiki::ui {

QString ChooseLessonFile(QWidget* pParent, const QString& strFolder) {
    QFileDialog dlg(pParent, QString(), strFolder);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setNameFilter(LoadUiString(IDS_LESSON_FILTER));
    dlg.setDefaultSuffix(QStringLiteral("txt"));
    dlg.setOption(QFileDialog::ReadOnly, false);
    dlg.resize(760, 460);  // wide enough for the name, size and date columns
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
}

CCustomStartDlg::CCustomStartDlg(CUserSettings& settings, Messenger& messenger, QWidget* pParent)
    : QDialog(pParent), m_fnChooseFile(ChooseLessonFile), m_model(settings, messenger) {
    setObjectName(QStringLiteral("customStartDlg"));
    const DialogUnits du = SetUpDialogFrame(*this, QStringLiteral("オリジナルレッスン開始"), 236, 150);

    auto* pPrompt = new QLabel(QStringLiteral("レッスンを選択してください。"), this);
    pPrompt->setGeometry(du.Rect(7, 7, 150, 10));
    auto* pListLabel = new QLabel(QStringLiteral("登録されたレッスン"), this);
    pListLabel->setGeometry(du.Rect(7, 21, 150, 10));
    m_pList = new QListWidget(this);
    m_pList->setObjectName(QStringLiteral("lessons"));
    MarkListFocus(*m_pList);
    m_pList->setGeometry(du.Rect(7, 32, 150, 84));
    for (const std::string& name : m_model.m_aNames) m_pList->addItem(FromCp932(name));

    m_pBrowsed = new QLabel(this);
    m_pBrowsed->setObjectName(QStringLiteral("browsed_name"));
    m_pBrowsed->setGeometry(du.Rect(7, 120, 222, 10));
    m_pBrowsed->setTextFormat(Qt::PlainText);

    auto* pGroup = new QGroupBox(QStringLiteral("モード"), this);
    // The right column is wider than the classic one, so that "ランダム２０問" fits its button.
    pGroup->setGeometry(du.Rect(164, 68, 65, 48));
    m_pAll = new QRadioButton(QStringLiteral("全部"), this);
    m_pAll->setObjectName(QStringLiteral("all_questions"));
    m_pAll->setGeometry(du.Rect(170, 82, 56, 11));
    m_pRandom = new QRadioButton(QStringLiteral("ランダム２０問"), this);
    m_pRandom->setObjectName(QStringLiteral("random_20"));
    m_pRandom->setGeometry(du.Rect(170, 98, 58, 11));
    auto* pModes = new QButtonGroup(this);
    pModes->addButton(m_pAll, 0);
    pModes->addButton(m_pRandom, 1);
    m_pAll->setChecked(true);

    m_pStart = AddAcceptCancel(*this, du, QStringLiteral("開始"), QStringLiteral("start"), {164, 7, 65, 14},
                               {164, 25, 65, 14});
    QPushButton* pBrowse = AddButton(*this, du, QStringLiteral("参照(&B)..."), QStringLiteral("browse"), {164, 43, 65, 14});

    // Tab reads the list, the buttons beside it, then the question choice below them.
    QWidget::setTabOrder(m_pList, m_pStart);
    QWidget::setTabOrder(pBrowse, m_pAll);
    QWidget::setTabOrder(m_pAll, m_pRandom);

    connect(pBrowse, &QPushButton::clicked, this, [this] {
        const QString strFolder = m_model.m_aPaths.empty() ? SampleLessonFolder() : QString();
        const QString strPath = m_fnChooseFile ? m_fnChooseFile(this, strFolder) : QString();
        if (strPath.isEmpty()) return;
        m_model.Browse(strPath.toStdString());
        ShowModel();
    });
    // Selection, not the current row: focusing the list makes a current row without a choice.
    connect(m_pList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> items = m_pList->selectedItems();
        m_model.Select(items.isEmpty() ? -1 : m_pList->row(items.first()));
        ShowModel();
    });
    ShowModel();
}

void CCustomStartDlg::ShowModel() {
    // The model may have dropped an entry; the list follows it without reporting a change.
    if (m_pList->count() != static_cast<int>(m_model.m_aNames.size())) {
        const QSignalBlocker block(m_pList);
        m_pList->clear();
        for (const std::string& name : m_model.m_aNames) m_pList->addItem(FromCp932(name));
        m_pList->setCurrentRow(-1);
        m_pList->clearSelection();
    }
    m_pStart->setEnabled(m_model.m_bCanStart);
    m_pBrowsed->setText(QString::fromStdString(m_model.m_strBrowsedName));
}

void CCustomStartDlg::accept() {
    if (!m_model.m_bCanStart) return;
    m_model.m_nMode = m_pRandom->isChecked() ? 1 : 0;
    QDialog::accept();
}

}  // namespace kibiki::ui
