// SPDX-License-Identifier: GPL-3.0-or-later
// The album under a long random session: thousands of the actions a user can reach through the
// windows, with the album checked after every one of them. Seeds run one after another for a
// bounded time (VIMBREL_STRESS_SECONDS, default 30); VIMBREL_STRESS_SEED runs one seed only,
// VIMBREL_STRESS_STEPS sets the steps per seed. A failure names its seed and step and shows the
// actions that led there, so it can be replayed.

#include "albumsession.h"

#include <QElapsedTimer>
#include <QStringList>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using vimbrel::test::AlbumSession;

namespace {

int envInt(const char* name, int fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::atoi(v) : fallback;
}

// Runs one seed; an empty string when every step left a sound album.
QString runSeed(unsigned seed, int steps, long long* done) {
    AlbumSession s(seed);
    QStringList recent;
    for (int step = 1; step <= steps; ++step) {
        s.randomAction();
        ++*done;
        if (!s.log.isEmpty()) {
            recent.append(QStringLiteral("%1: %2").arg(step).arg(s.log));
            if (recent.size() > 25)
                recent.removeFirst();
        }
        QString p = s.problem();
        if (p.isEmpty())
            p = s.roundTripProblem();
        if (p.isEmpty())
            p = s.savedProblem();
        if (p.isEmpty() && !s.errors().isEmpty())
            p = QStringLiteral("message shown: ") + s.errors().join(QStringLiteral(" | "));
        if (!p.isEmpty())
            return QStringLiteral("seed %1, step %2: %3\nlast actions:\n  %4\nthen: %5")
                .arg(seed)
                .arg(step)
                .arg(p, recent.join(QStringLiteral("\n  ")), s.state());
    }
    return {};
}

} // namespace

TEST(AlbumStress, EveryActionKeepsTheAlbumSound) {
    const int steps = envInt("VIMBREL_STRESS_STEPS", 2000);
    const int only = envInt("VIMBREL_STRESS_SEED", 0);
    const int seconds = envInt("VIMBREL_STRESS_SECONDS", 30);
    QElapsedTimer clock;
    clock.start();
    long long done = 0;
    int seeds = 0;
    for (unsigned seed = only ? unsigned(only) : 1u;; ++seed) {
        const QString failure = runSeed(seed, steps, &done);
        ++seeds;
        ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();
        if (only || clock.elapsed() >= seconds * 1000LL)
            break;
    }
    std::printf("album stress: %d seeds, %lld steps in %.1f s\n", seeds, done,
                double(clock.elapsed()) / 1000.0);
}
