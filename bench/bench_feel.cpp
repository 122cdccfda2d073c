// SPDX-License-Identifier: GPL-3.0-or-later
// How the windows feel while the user pages quickly, not how fast they decode: 48 cold
// 24-megapixel JPEGs in Medium frames, PageDown held (a key every 80 ms) from the first spread to
// the last and PageUp back, and the slide show with Right held for 10 slides. Measured: the
// longest pause of the event loop (the lateness of a 2 ms timer), the time from the leaf's last
// tick to the spread's frames on screen, and the time until the spread the user stops on is
// complete, against vipsthumbnail making the same pictures in the same run.

#include "benchpictures.h"
#include "benchresult.h"
#include "bookview.h"
#include "phpage.h"
#include "phslide.h"
#include "picturefit.h"
#include "picturelibrary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

using namespace vimbrel;

namespace {

struct NoViews : WindowHub {};

// The lateness of a timer that asks to run every 2 ms: the longest time the event loop was
// busy with something else.
class PauseMeter {
public:
    PauseMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(2);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = bench::msSince(m_clock);
            m_longest = std::max(m_longest, now - m_last - 2.0);
            m_last = now;
        });
    }
    void start() {
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_timer.start();
    }
    double longest() {
        m_timer.stop();
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

// Runs the event loop until `done` holds or `limitMs` passes; returns the time it took.
double runUntil(const std::function<bool()>& done, int limitMs = 60000) {
    QElapsedTimer t;
    t.start();
    // Sleeps until the next event: a loop that spun would take a core from the decodes.
    while (!done() && t.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return bench::msSince(t);
}

// Whether every picture the window shows has arrived (a window that draws before it returns has
// nothing pending once it is shown).
template <class W> bool settled(W& w) {
    if constexpr (requires { w.picturesPending(); })
        return w.picturesPending() == 0;
    else
        return true;
}

double vipsPictures(const QStringList& paths, QSize size, const QString& out) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral("vipsthumbnail"),
            QStringList{QStringLiteral("-s"),
                        QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
                        QStringLiteral("-o"), out + QStringLiteral("/%s.jpg")} +
                paths);
    p.waitForFinished(-1);
    return bench::msSince(t);
}

void press(QWidget& w, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(&w, &up);
}

struct Paging {
    double pause = 0;     // longest event-loop pause while paging
    double frames = 0;    // worst time from the leaf's last tick to the spread's frames shown
    double stopLast = 0;  // the last spread complete, from the last tick of its leaf
    double stopFirst = 0; // the first spread complete, back again
    double keyHandling = 0;
    int decodes = 0;
};

// Holds `key` (a press every 80 ms) until the window shows the spread starting at `page`, then
// waits for it to be complete. Returns the time from the last tick of its leaf to complete.
double holdUntil(phpage& w, Album& a, int key, int page, Paging& out) {
    QElapsedTimer lastDue;
    bool turnEnding = false;
    // The last tick of a turn shows the new spread: timed from when it is due to when the
    // event loop is free again.
    struct TickWatch : QObject {
        std::function<void()> onTick;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Timer)
                onTick();
            return false;
        }
    } watch;
    watch.onTick = [&] {
        if (a.pgtstep >= 1 && a.pgtstep <= 5)
            return;
        QElapsedTimer due;
        due.start();
        lastDue = due;
        turnEnding = true;
        QTimer::singleShot(0, [&, due] {
            out.frames = std::max(out.frames, bench::msSince(due));
            turnEnding = false;
        });
    };
    w.pgtimer.installEventFilter(&watch);
    QTimer keys;
    keys.setInterval(80);
    QObject::connect(&keys, &QTimer::timeout, [&] {
        if (a.curpage == page) {
            keys.stop();
            return;
        }
        QElapsedTimer t;
        t.start();
        press(w, key);
        out.keyHandling = std::max(out.keyHandling, bench::msSince(t));
    });
    keys.start();
    runUntil([&] { return a.curpage == page && !w.pgtimer.isActive() && !turnEnding; });
    runUntil([&] { return settled(w); });
    const double ms = lastDue.isValid() ? bench::msSince(lastDue) : 0;
    w.pgtimer.removeEventFilter(&watch);
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    const QString folder = QDir(bench::photoFolder(argc, argv)).filePath(QStringLiteral("24mp"));
    const QSize camera(6000, 4000);
    const int count = 48;
    std::printf("Making %d JPEGs of 6000x4000 if missing (%s)\n", count, qPrintable(folder));
    const bench::PhotoAlbum photos(folder, count, camera);
    const QStringList& paths = photos.paths;
    Album& a = *photos.album;
    QTemporaryDir tmp;
    a.pgsize = 2; // Medium: six pictures a spread, eight spreads
    a.grps[1].glast = count;
    a.grps[1].gcount = count;
    a.nframes = count;
    NoViews hub;

    Paging paging;
    double vipsLast = 0;
    {
        PictureLibrary lib(tmp.filePath(QStringLiteral("cache")), 64 << 20);
        phpage w(a, hub, lib);
        w.show();
        a.curpage = 1;
        w.SetPage();
        runUntil([&] { return settled(w); });
        const int lastPage = (a.npages % 2 == 0 ? a.npages - 1 : a.npages);
        PauseMeter meter;
        meter.start();
        const PictureLibrary::Stats before = lib.stats();
        paging.stopLast = holdUntil(w, a, Qt::Key_PageDown, lastPage, paging);
        paging.stopFirst = holdUntil(w, a, Qt::Key_PageUp, 1, paging);
        paging.pause = meter.longest();
        paging.decodes = lib.stats().decodes - before.decodes;

        QStringList last;
        for (int f = (lastPage - 1) * 3 + 1; f <= count; ++f)
            last << paths[f - 1];
        const Fit fit = fitPicture(camera, 'L', QSize(200, 133));
        const QString out = tmp.filePath(QStringLiteral("vips"));
        QDir().mkpath(out);
        vipsLast = vipsPictures(last, fit.rect.size(), out);
    }

    std::printf("Page view, Medium, PageDown every 80 ms to the last spread and PageUp back\n");
    std::printf("%-46s %8.2f ms (target <= 50 ms)\n", "longest event-loop pause", paging.pause);
    std::printf("%-46s %8.2f ms\n", "longest key handling", paging.keyHandling);
    std::printf("%-46s %8.2f ms (target <= 20 ms)\n", "leaf turned to frames shown, worst",
                paging.frames);
    std::printf("%-46s %8.2f ms  %6.3fx vipsthumbnail (target <= 0.5x)\n",
                "last spread complete after its leaf turned", paging.stopLast,
                paging.stopLast / vipsLast);
    std::printf("%-46s %8.2f ms\n", "first spread complete again", paging.stopFirst);
    std::printf("%-46s %8d\n", "pictures decoded on the way", paging.decodes);
    std::printf("%-46s %8.2f ms\n", "reference: vipsthumbnail, the last spread", vipsLast);
    bench::result("feel: page view, longest event-loop pause", paging.pause, "ms", bench::none,
                  bench::none, bench::figureAtMost(50));
    bench::result("feel: page view, leaf turned to frames shown", paging.frames, "ms", bench::none,
                  bench::none, bench::figureAtMost(20));
    bench::result("feel: page view, spread stopped on complete", paging.stopLast, "ms", vipsLast,
                  paging.stopLast / vipsLast, bench::ratioAtMost(0.5));
    bench::result("feel: page view, pictures decoded paging", paging.decodes, "pictures",
                  bench::none, bench::none);

    // The slide show, Right held for 10 slides of 24-megapixel pictures.
    double slidePause = 0, slideLast = 0;
    {
        a.slidesrc = QStringLiteral("Slide");
        for (int i = 1; i <= count; ++i)
            a.pics[i].psel = 0;
        a.nsel = static_cast<Integer>(count);
        a.curgrp = 1;
        PictureLibrary lib(tmp.filePath(QStringLiteral("slides")), 64 << 20);
        phslide w(a, hub, lib);
        w.show();
        runUntil([&] { return settled(w); });
        PauseMeter meter;
        meter.start();
        int sent = 0;
        QTimer keys;
        keys.setInterval(80);
        QObject::connect(&keys, &QTimer::timeout, [&] {
            press(w, Qt::Key_Right);
            if (++sent == 10)
                keys.stop();
        });
        keys.start();
        runUntil([&] { return sent == 10; });
        slideLast = runUntil([&] { return settled(w); });
        slidePause = meter.longest();
    }
    std::printf("Slide show, Right every 80 ms for 10 slides of 6000x4000\n");
    std::printf("%-46s %8.2f ms (target <= 50 ms)\n", "longest event-loop pause", slidePause);
    std::printf("%-46s %8.2f ms\n", "last slide complete after its key", slideLast);
    bench::result("feel: slide show, longest event-loop pause", slidePause, "ms", bench::none,
                  bench::none, bench::figureAtMost(50));
    return bench::exitCode();
}
