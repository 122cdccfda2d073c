#pragma once
// Windows draw their pictures as they arrive from the library's pool: a test that looks at
// them first runs the event loop until the window has nothing pending, never for a fixed time.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace vimbrel::test {

// Runs the event loop until `done` holds, at most `limitMs`; returns whether it came to hold.
inline bool waitUntil(const std::function<bool()>& done, int limitMs = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Whether `window` (anything with picturesPending()) settled within `limitMs`.
template <class Window> bool waitForPictures(const Window& window, int limitMs = 20000) {
    QElapsedTimer t;
    t.start();
    while (window.picturesPending() > 0) {
        if (t.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    // Deliveries already queued for older requests are dropped here, not later mid-test.
    QCoreApplication::processEvents();
    return true;
}

} // namespace vimbrel::test
