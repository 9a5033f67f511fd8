#include "ui/app/about_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "ui/app/command_line.h"
#include "ui/app/dialog_units.h"
#include "ui/app/fonts.h"
#include "ui/app/qt_text.h"
#include "text/string_ids.h"

namespace kibiki::ui {

CAboutDlg::CAboutDlg(QWidget* pParent) : QDialog(pParent) {
    setObjectName(QStringLiteral("aboutDlg"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFont(JapaneseFont(10));
    const DialogUnits du(font());
    setFixedSize(du.Size(130, 91));

    auto* pIcon = new QLabel(this);
    pIcon->setAccessibleName(QStringLiteral("Kibiki のアイコン"));
    const int nIcon = 32;
    pIcon->setPixmap(QApplication::windowIcon().pixmap(nIcon, nIcon));
    pIcon->setGeometry(QRect(du.Rect(11, 17, 0, 0).topLeft(), QSize(nIcon, nIcon)));

    auto label = [&](const QString& str, int x, int y, int cx) {
        auto* p = new QLabel(str, this);
        p->setTextFormat(Qt::PlainText);
        p->setGeometry(du.Rect(x, y, cx, 8));
        return p;
    };
    label(QStringLiteral("Kibiki"), 42, 15, 80)->setObjectName(QStringLiteral("product"));
    // The release; the build's own suffix (+git...) would not fit the line and shows as its tip.
    const QString strVersion = VersionNumber();
    QLabel* pVersion = label(LoadUiString(IDS_ABOUT_VERSION) + u' ' + strVersion.section(u'+', 0, 0), 42, 26, 84);
    pVersion->setObjectName(QStringLiteral("version"));
    pVersion->setToolTip(strVersion);
    label(LoadUiString(IDS_ABOUT_NOTICE), 17, 42, 110)->setObjectName(QStringLiteral("notice"));
    label(LoadUiString(IDS_ABOUT_LICENSE) + u' ' + LicenseName(), 17, 53, 110)
        ->setObjectName(QStringLiteral("license"));

    auto* pOk = new QPushButton(QStringLiteral("OK"), this);
    pOk->setObjectName(QStringLiteral("ok"));
    pOk->setDefault(true);
    pOk->setGeometry(du.Rect(49, 70, 32, 14));
    connect(pOk, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace kibiki::ui
