// The Qt side of the platform interfaces.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ui/app/qt_profile.h"
#include "text/cp932.h"

using namespace kibiki;
using namespace kibiki::ui;

TEST(QtProfile, KeepsCp932TextsAndNumbersAcrossInstances) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Kibiki.conf");
    const std::string user = Utf8ToCp932("たろう");
    {
        QtProfile profile(path);
        EXPECT_TRUE(profile.WriteProfileString("Settings", "User", user));
        EXPECT_TRUE(profile.WriteProfileInt("Roman", "40100", 3));
    }
    QtProfile profile(path);
    EXPECT_EQ(profile.GetProfileString("Settings", "User", "default"), user);
    EXPECT_EQ(profile.GetProfileString("Settings", "Missing", "default"), "default");
    EXPECT_EQ(profile.GetProfileInt("Roman", "40100", -1), 3);
    EXPECT_EQ(profile.GetProfileInt("Roman", "40101", -1), -1);
    // A text value read as a number takes its leading digits.
    EXPECT_EQ(profile.GetProfileInt("Settings", "User", 7), 0);

    std::vector<std::string> names;
    EXPECT_TRUE(profile.EnumValueNames("Roman", names));
    EXPECT_EQ(names, std::vector<std::string>{"40100"});
    EXPECT_FALSE(profile.EnumValueNames("DynRoman", names));
    EXPECT_TRUE(names.empty());
}
