#include <QApplication>

#include "app/application.h"
#include "app/main_frame.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kibiki::ui::SetUpApplication(app);
    kibiki::ui::CMainFrame frame;
    frame.show();
    return app.exec();
}
