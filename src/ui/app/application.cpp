#include "ui/app/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include "ui/app/accessible.h"
#include "ui/app/fonts.h"

namespace kibiki::ui {

bool LoadJapaneseQtTexts(QTranslator& translator) {
    return translator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void SetWindowIconSoon(QApplication& app) {
    QTimer::singleShot(0, &app, [pApp = &app] { pApp->setWindowIcon(QIcon(QStringLiteral(":/kibiki/kibiki.png"))); });
}

void SetUpApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Kibiki"));
    app.setOrganizationName(QStringLiteral("Tobira software"));
    app.setApplicationDisplayName(QString());
    app.setDesktopFileName(QStringLiteral("kibiki"));
    // One style everywhere: the forms are laid out in dialog units and bevelled caps, which a
    // platform theme with other metrics would crowd.
    if (QStyle* pStyle = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(pStyle);
    app.setFont(FormFont());
    InstallAccessibleFactory();
    SetWindowIconSoon(app);

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* pTranslator = new QTranslator(&app);
    if (LoadJapaneseQtTexts(*pTranslator))
        app.installTranslator(pTranslator);
    else
        delete pTranslator;
}

}  // namespace kibiki::ui
