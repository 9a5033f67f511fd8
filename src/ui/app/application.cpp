#include "app/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include "app/fonts.h"

namespace kibiki::ui {

void SetUpApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Kibiki"));
    app.setOrganizationName(QStringLiteral("Tobira software"));
    app.setApplicationDisplayName(QString());
    app.setDesktopFileName(QStringLiteral("kibiki"));
    // One style everywhere: the forms are laid out in dialog units and bevelled caps, which a
    // platform theme with other metrics would crowd.
    if (QStyle* pStyle = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(pStyle);
    app.setFont(FormFont());
    app.setWindowIcon(QIcon(QStringLiteral(":/kibiki/kibiki.png")));

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QString strDir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* pszName : {"qtbase_ja"}) {
        auto* pTranslator = new QTranslator(&app);
        if (pTranslator->load(QString::fromLatin1(pszName), strDir))
            app.installTranslator(pTranslator);
        else
            delete pTranslator;
    }
}

}  // namespace kibiki::ui
