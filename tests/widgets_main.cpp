// main() of the test programs that open the real window.
#include "app/settings.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include <unistd.h>

// The screen the window tests run on. The offscreen platform's own screen is 800 x 600, smaller
// than the window; a test program that checks a small screen defines its own size.
#ifndef KESMORA_TEST_SCREEN_WIDTH
#define KESMORA_TEST_SCREEN_WIDTH 1280
#endif
#ifndef KESMORA_TEST_SCREEN_HEIGHT
#define KESMORA_TEST_SCREEN_HEIGHT 1024
#endif

namespace {

// Every test starts as on a first start: nothing remembered from the tests before it.
class ForgetSettings : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { kesmora::forgetSettings(); }
};

} // namespace

// The application outlives every window and is gone before the static objects are (Qt's input
// devices crash when torn down after it). Headless unless a platform is asked for, also while
// the build only lists the tests; plain "offscreen" gets the screen above.
int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::string config;
    if (platform.isEmpty() || platform == "offscreen") {
        config =
            QDir::tempPath().toStdString() + "/kesmora-test-screen-" + std::to_string(getpid()) + ".json";
        std::ofstream(config) << "{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, \"width\": "
                              << KESMORA_TEST_SCREEN_WIDTH << ", \"height\": " << KESMORA_TEST_SCREEN_HEIGHT
                              << ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}\n";
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
    }
    // The window's settings go to a configuration folder of this test program's own, never to the
    // user's (nor to the program's, run from a test).
    const std::filesystem::path configHome =
        std::filesystem::path(QDir::tempPath().toStdString()) / ("kesmora-test-config-" + std::to_string(getpid()));
    std::filesystem::create_directories(configHome);
    qputenv("XDG_CONFIG_HOME", QByteArray(configHome.string().c_str()));
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kesmora"));
    if (!config.empty()) std::remove(config.c_str()); // read when the platform started
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetSettings);
    const int status = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(configHome, ec);
    return status;
}
