// main() of the test programs that open the real window.
#include <QApplication>

#include <gtest/gtest.h>

// The application outlives every window and is gone before the static objects are (Qt's input
// devices crash when torn down after it). Headless unless a platform is asked for, also while
// the build only lists the tests.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
