#include "ui/app/dialog_frame.h"

#include <QDialog>
#include <QPushButton>

#include "ui/app/fonts.h"

namespace kibiki::ui {

DialogUnits SetUpDialogFrame(QDialog& dlg, const QString& strTitle, int cx, int cy) {
    dlg.setWindowTitle(strTitle);
    dlg.setFont(FormFont());
    const DialogUnits du(dlg.font());
    dlg.setFixedSize(du.Size(cx, cy));
    return du;
}

QPushButton* AddButton(QWidget& parent, const DialogUnits& du, const QString& strText,
                       const QString& strName, const QRect& place) {
    auto* p = new QPushButton(strText, &parent);
    p->setObjectName(strName);
    p->setGeometry(du.Rect(place.x(), place.y(), place.width(), place.height()));
    return p;
}

QPushButton* AddAcceptCancel(QDialog& dlg, const DialogUnits& du, const QString& strAccept,
                             const QString& strName, const QRect& acceptPlace, const QRect& cancelPlace) {
    QPushButton* pAccept = AddButton(dlg, du, strAccept, strName, acceptPlace);
    pAccept->setDefault(true);
    QPushButton* pCancel = AddButton(dlg, du, QStringLiteral("キャンセル"), QStringLiteral("cancel"), cancelPlace);
    // accept() is virtual: a dialog's own check runs first.
    QObject::connect(pAccept, &QPushButton::clicked, &dlg, &QDialog::accept);
    QObject::connect(pCancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    return pAccept;
}

}  // namespace kibiki::ui
