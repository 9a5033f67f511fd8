#pragma once
// Painted widgets tell what lies under the mouse: a tip made on demand for the point asked about.
#include <QEvent>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace kibiki::ui {

// For a widget's event(): true when pEvent was a tip request, shown (or hidden when the text
// for its point is empty) with tipAt(point).
template <class TipAt>
bool ShowTipAt(QWidget* pWidget, QEvent* pEvent, TipAt tipAt) {
    if (pEvent->type() != QEvent::ToolTip) return false;
    auto* pHelp = static_cast<QHelpEvent*>(pEvent);
    const QString tip = tipAt(pHelp->pos());
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(pHelp->globalPos(), tip, pWidget);
    return true;
}

}  // namespace kibiki::ui
