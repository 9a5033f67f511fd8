#include "ui/app/fonts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kibiki::ui {

QFont JapaneseFont(int nPointSize, int nWeight) {
    QFont font;
    font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                      QStringLiteral("TakaoPGothic"), QStringLiteral("sans-serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(nPointSize);
    font.setWeight(static_cast<QFont::Weight>(nWeight));
    return font;
}

QFont FormFont() { return JapaneseFont(9); }

double AppliedDpi(const QWidget* pWidget) {
    const QScreen* pScreen = pWidget ? pWidget->screen() : QGuiApplication::primaryScreen();
    if (!pScreen) return 96.0;
    const double dpi = pScreen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : 96.0;
}

int ScaledPointSize(int nBase, double dDpi) {
    if (dDpi <= 0) dDpi = 96.0;
    return static_cast<int>(96.0 / dDpi * nBase);
}

}  // namespace kibiki::ui
