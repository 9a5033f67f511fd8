#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <gtest/gtest.h>

#include "ui/app/application.h"
#include "ui/users/progress_window.h"

namespace {

// At each failed assertion, the windows shown then: a ui failure is most often about which
// dialog is up, and by the test's end its dialogs are gone.
class ShownWindowsOnFailure : public ::testing::EmptyTestEventListener {
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (!result.failed()) return;
        std::fprintf(stderr, "windows shown at the failure:\n");
        int nShown = 0;
        for (const QWidget* p : QApplication::topLevelWidgets()) {
            if (!p->isVisible()) continue;
            ++nShown;
            const QRect r = p->geometry();
            std::fprintf(stderr, "  %s \"%s\" title \"%s\" %dx%d%s%s\n", p->metaObject()->className(),
                         qPrintable(p->objectName()), qPrintable(p->windowTitle()), r.width(), r.height(),
                         p == QApplication::activeModalWidget() ? " (modal)" : "",
                         p == QApplication::activeWindow() ? " (active)" : "");
        }
        if (nShown == 0) std::fprintf(stderr, "  none\n");
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Offscreen always; a test list entry may give the offscreen screen a configuration.
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kibiki::ui::SetUpApplication(app);
    // Windows that keep view state keep it here, never in the tester's own configuration.
    QTemporaryDir viewState;
    kibiki::ui::CProgressWindow::SetViewStateFile(viewState.filePath(QStringLiteral("view.ini")));
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ShownWindowsOnFailure);
    return RUN_ALL_TESTS();
}
