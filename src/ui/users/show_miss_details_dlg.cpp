#include "ui/users/show_miss_details_dlg.h"

#include <QListWidget>
#include <QPushButton>

#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/qt_text.h"

namespace kibiki::ui {

CShowMissDetailsDlg::CShowMissDetailsDlg(const std::string& strDetails, QWidget* pParent)
    : QDialog(pParent), m_pList(new QListWidget(this)) {
    setObjectName(QStringLiteral("showMissDetailsDlg"));
    setWindowTitle(QStringLiteral("間違えたキー一覧"));
    setFont(FormFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(98, 95));

    m_pList->setObjectName(QStringLiteral("missed_keys"));
    m_pList->setGeometry(du.Rect(0, 0, 97, 79));
    m_pList->setSelectionMode(QAbstractItemView::NoSelection);
    m_pList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pList->setFocusPolicy(Qt::NoFocus);
    // One line per CR LF; a last line without one still shows.
    const QStringList lines = FromCp932(strDetails).split(QStringLiteral("\r\n"));
    for (int i = 0; i < lines.size(); ++i)
        if (i + 1 < lines.size() || !lines[i].isEmpty()) m_pList->addItem(lines[i]);

    auto* pClose = new QPushButton(QStringLiteral("閉じる"), this);
    pClose->setObjectName(QStringLiteral("ok"));
    pClose->setGeometry(du.Rect(24, 81, 50, 14));
    pClose->setDefault(true);
    connect(pClose, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kibiki::ui
