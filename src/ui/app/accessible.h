#pragma once
// What assistive technology sees of the widgets this program draws itself: roles for the colour
// statics, swatches, markers, the progress bar, the chart and the calendar, and a static's text
// as its name when it has no name of its own.
class QAbstractItemView;
class QWidget;
class QString;

namespace kibiki::ui {

// Once, before the first window: Qt asks the factory for every widget's interface.
void InstallAccessibleFactory();

// Sets the widget's accessible description to what a screen reader is to say now and tells it
// so, even when the text is the one it had (a second miss on the same key).
void Describe(QWidget& widget, const QString& strText);
// Describe, and the text said once more as a notification of the widget's window, which readers
// read from the object itself rather than from the change event.
void Announce(QWidget& widget, const QString& strText);

// A list marks its focus with its current item only: an empty one with the focus looked the same
// as without. This one draws its frame in the highlight colour while it has the focus.
void MarkListFocus(QAbstractItemView& view);

}  // namespace kibiki::ui
