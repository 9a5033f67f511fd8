#pragma once
// The frame every small dialog shares: caption, form font and a fixed size in dialog units,
// and push buttons at their template places, so each dialog only places its own items.
#include <QRect>
#include <QString>

#include "ui/app/dialog_units.h"

class QDialog;
class QPushButton;
class QWidget;

namespace kibiki::ui {

// Caption, form font and fixed size (cx × cy units); the units the dialog's items are placed in.
DialogUnits SetUpDialogFrame(QDialog& dlg, const QString& strTitle, int cx, int cy);

// A push button at a place in dialog units (x, y, width, height), named for tests and scripts.
QPushButton* AddButton(QWidget& parent, const DialogUnits& du, const QString& strText,
                       const QString& strName, const QRect& place);

// The default button, accepting, then "キャンセル" (named "cancel"), rejecting; created in that
// order, which is their tab order. Returns the default button.
QPushButton* AddAcceptCancel(QDialog& dlg, const DialogUnits& du, const QString& strAccept,
                             const QString& strName, const QRect& acceptPlace, const QRect& cancelPlace);

}  // namespace kibiki::ui
