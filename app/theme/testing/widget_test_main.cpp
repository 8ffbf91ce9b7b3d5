// Test main for widget tests: a QApplication on the offscreen platform with the application's
// look (style, dark palette, UI face), so widgets measure and paint as in the application.
#include "app/theme/app_theme.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kavrino::applyTheme(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
