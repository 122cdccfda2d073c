// SPDX-License-Identifier: GPL-3.0-or-later
// The real message boxes, on the offscreen platform.

#include "qtui.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

// Answers the next modal box or dialog as soon as it is up, noting whether `above` was still
// showing at that moment.
void answerWhenShown(QWidget& above, bool& aboveShown) {
    QTimer::singleShot(0, [&above, &aboveShown] {
        aboveShown = above.isVisible();
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
}

} // namespace

// A splash on top of everything would hide a question asked during start-up.
TEST(QtUi, EveryQuestionClearsTheSplashOutOfTheWay) {
    QtUi ui;
    QWidget splash(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    ui.setStepAside(&splash);
    for (int kind = 0; kind < 2; ++kind) {
        splash.show();
        bool shown = true;
        answerWhenShown(splash, shown);
        if (kind == 0)
            ui.message(QStringLiteral("Open - ERROR"), QStringLiteral("x"), MsgIcon::Critical,
                       MsgButtons::Ok);
        else
            ui.input(QStringLiteral("Page"), QStringLiteral("Go To Page"), QString());
        EXPECT_FALSE(shown) << kind;
    }
    // Gone already (the splash closes itself at the end): nothing to step aside.
    {
        auto* gone = new QWidget;
        ui.setStepAside(gone);
        delete gone;
        bool unused = false;
        QWidget probe;
        answerWhenShown(probe, unused);
        ui.message(QStringLiteral("t"), QStringLiteral("x"), MsgIcon::None, MsgButtons::Ok);
    }
}
