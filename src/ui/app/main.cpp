#include <QApplication>

#include "app/application.h"
#include "app/kibiki_app.h"
#include "app/qt_profile.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kibiki::ui::SetUpApplication(app);
    kibiki::ui::QtProfile profile;
    kibiki::ui::CKibikiApp kibiki(profile);
    kibiki.InitInstance();
    return app.exec();
}
