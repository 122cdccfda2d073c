// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows draw their pictures as they arrive from the library's pool: a test that looks at
// them first runs the event loop until the window has nothing pending, never for a fixed time.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

namespace vimbrel::test {

// Runs the event loop for a few milliseconds, asleep while nothing happens (a loop that spun
// would take a core from the decodes it waits for).
inline void runEventsBriefly() {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until `done` holds, at most `limitMs`; returns whether it came to hold.
inline bool waitUntil(const std::function<bool()>& done, int limitMs = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs)
            return false;
        runEventsBriefly();
    }
    return true;
}

// Whether `window` (anything with picturesPending()) settled within `limitMs`.
template <class Window> bool waitForPictures(const Window& window, int limitMs = 20000) {
    if (!waitUntil([&] { return window.picturesPending() <= 0; }, limitMs))
        return false;
    // Deliveries already queued for older requests are dropped here, not later mid-test.
    QCoreApplication::processEvents();
    return true;
}

} // namespace vimbrel::test
