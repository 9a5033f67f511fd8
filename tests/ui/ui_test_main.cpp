#include <QApplication>
#include <gtest/gtest.h>

#include "ui/app/application.h"

int main(int argc, char** argv) {
    // Offscreen always; a test list entry may give the offscreen screen a configuration.
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kibiki::ui::SetUpApplication(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
