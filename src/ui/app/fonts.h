#pragma once
// Fonts of the trainer. Japanese text uses IPAPGothic (metric-compatible with the Windows UI
// font the layouts were drawn with), falling back to the system's Japanese sans.
#include <QFont>

class QWidget;

namespace kibiki::ui {

QFont JapaneseFont(int nPointSize, int nWeight = QFont::Normal);

// The font of the practice form and of the trainer's dialogs: 9 point.
QFont FormFont();

// The display's logical DPI, 96 when no screen is known.
double AppliedDpi(const QWidget* pWidget = nullptr);

// Point size corrected for the display scaling: trunc(96 / dpi × base). Fonts given in points are
// converted with the same DPI, so the pixel height stays that of 96 DPI.
int ScaledPointSize(int nBase, double dDpi);

}  // namespace kibiki::ui
