// SPDX-License-Identifier: GPL-3.0-or-later
// main() for widget tests: a QApplication on the offscreen platform, then every test. Scripted
// message boxes run an event loop while "open", as real ones do.

#include "scriptedui.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    vimbrel::ScriptedUi::spinByDefault = true;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
