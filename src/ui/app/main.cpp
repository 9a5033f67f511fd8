#include <QApplication>

#include "ui/app/application.h"
#include "ui/app/command_line.h"
#include "ui/app/kibiki_app.h"
#include "ui/app/qt_profile.h"

int main(int argc, char** argv) {
    using namespace kibiki::ui;
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication core(argc, argv);
        return AnswerCommandLine(core).value_or(0);
    }
    QApplication app(argc, argv);
    if (const std::optional<int> nExit = AnswerCommandLine(app)) return *nExit;
    SetUpApplication(app);
    QtProfile profile;
    CKibikiApp kibiki(profile);
    kibiki.InitInstance();
    return app.exec();
}
