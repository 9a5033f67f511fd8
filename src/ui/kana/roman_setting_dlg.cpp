#include "ui/kana/roman_setting_dlg.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/qt_text.h"
#include "ui/kana/roman_edit_dlg.h"

namespace kibiki::ui {

namespace {

// Kana set at the font's bare line height touch the row above; a list view leaves them air.
class SpacedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), option.fontMetrics.height() * 4 / 3));
        return size;
    }
};

}  // namespace

CRomanSettingDlg::CRomanSettingDlg(CUserSettings& settings, bool bFixRoman, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_messenger(this), m_model(settings, bFixRoman) {
    setObjectName(QStringLiteral("romanSettingDlg"));
    setWindowTitle(QStringLiteral("ローマ字の設定"));
    setFont(FormFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(173, 171));

    m_pFixRoman = new QCheckBox(QStringLiteral("ローマ字固定"), this);
    m_pFixRoman->setObjectName(QStringLiteral("fix_roman"));
    m_pFixRoman->setGeometry(du.Rect(14, 14, 73, 10));
    m_pFixRoman->setChecked(m_model.m_bFixRoman);

    m_pList = new QTreeWidget(this);
    m_pList->setObjectName(QStringLiteral("spellings"));
    m_pList->setAccessibleName(QStringLiteral("ローマ字の綴り"));
    m_pList->setGeometry(du.Rect(7, 38, 91, 112));
    m_pList->setHeaderLabels({QStringLiteral("ひらがな"), QStringLiteral("ローマ字")});
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setItemDelegate(new SpacedRowDelegate(m_pList));
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pList->header()->setSectionsMovable(false);
    m_pList->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<int>(m_model.m_aRows.size()));
    for (const auto& row : m_model.m_aRows)
        rows.append(new QTreeWidgetItem({FromCp932(row.strKana), FromCp932(row.strRoman)}));
    m_pList->addTopLevelItems(rows);
    FitColumns();

    // Below the list, across the dialog: the longest text here, and it holds in either mode.
    // Made after the list so that Tab reaches it in the order it is seen.
    m_pImeSpellings = new QCheckBox(QStringLiteral("IMEと同じつづりをすべて受け付ける"), this);
    m_pImeSpellings->setObjectName(QStringLiteral("ime_spellings"));
    m_pImeSpellings->setGeometry(du.Rect(7, 155, 159, 10));
    m_pImeSpellings->setChecked(m_model.m_bImeSpellings);

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setGeometry(du.Rect(106, 16, 50, 14));
    pOk->setDefault(true);
    m_pChange = new QPushButton(QStringLiteral("変更"), this);
    m_pChange->setObjectName(QStringLiteral("change"));
    m_pChange->setGeometry(du.Rect(106, 40, 50, 14));
    m_pDeleteLearning = new QPushButton(QStringLiteral("学習削除"), this);
    m_pDeleteLearning->setObjectName(QStringLiteral("delete_learning"));
    m_pDeleteLearning->setGeometry(du.Rect(106, 73, 50, 14));
    auto* pCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    pCancel->setObjectName(QStringLiteral("cancel"));
    pCancel->setGeometry(du.Rect(106, 105, 50, 14));

    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(pCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pChange, &QPushButton::clicked, this, &CRomanSettingDlg::EditSelectedRow);
    connect(m_pDeleteLearning, &QPushButton::clicked, this,
            [this] { CRomanSettingModel::DeleteLearning(m_settings, m_messenger); });
    connect(m_pImeSpellings, &QCheckBox::toggled, this, [this](bool bChecked) { m_model.m_bImeSpellings = bChecked; });
    connect(m_pFixRoman, &QCheckBox::toggled, this, [this](bool bChecked) {
        m_model.SetFixRoman(bChecked);
        ShowModel();
    });
    // Selection, not the current row: focusing the list makes a current row without a choice.
    connect(m_pList, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> items = m_pList->selectedItems();
        m_model.Select(items.isEmpty() ? -1 : m_pList->indexOfTopLevelItem(items.first()));
        ShowModel();
    });
    // A double click edits the row; Enter stays with the default button, as in any dialog.
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_model.m_bCanChange) EditSelectedRow();
    });
    ShowModel();
}

void CRomanSettingDlg::FitColumns() {
    // Two equal columns fill the list beside its scroll bar; the kana column is at least as
    // wide as its heading.
    const int nView = m_pList->width() - 2 * m_pList->frameWidth() - m_pList->verticalScrollBar()->sizeHint().width();
    const int nHeading = m_pList->header()->sectionSizeHint(0);
    const int nKana = std::max(nView / 2, nHeading);
    m_pList->setColumnWidth(0, nKana);
    m_pList->setColumnWidth(1, std::max(nView - nKana, 0));
}

void CRomanSettingDlg::ShowModel() {
    m_pList->setEnabled(m_model.ListEnabled());
    m_pChange->setEnabled(m_model.m_bCanChange);
}

void CRomanSettingDlg::EditSelectedRow() {
    const int nRow = m_model.m_nSelected;
    if (!m_model.m_bCanChange || nRow < 0) return;
    CRomanEditDlg dlg(this);
    dlg.m_strKanaText = m_model.m_aRows[nRow].strKana;
    dlg.m_strRomanText = m_model.m_aRows[nRow].strRoman;
    if (dlg.exec() != QDialog::Accepted) return;
    m_model.Change(nRow, dlg.m_strRomanText);
    m_pList->topLevelItem(nRow)->setText(1, FromCp932(m_model.m_aRows[nRow].strRoman));
}

}  // namespace kibiki::ui
