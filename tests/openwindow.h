// The real main window for the tests that drive it: on the headless screen, shown and exposed,
// its start-up events run.
#pragma once

#include "app/mainwindow.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kesmora::test {

inline std::unique_ptr<TMainForm> openWindow(const std::filesystem::path& dataDir = KESMORA_DATA_DIR,
                                             bool show = true) {
    auto w = std::make_unique<TMainForm>(dataDir);
    if (show) {
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        QApplication::processEvents();
    }
    return w;
}

} // namespace kesmora::test
