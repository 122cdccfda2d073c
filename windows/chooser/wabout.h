// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About window, which is also the start-up splash: the title, a notice line, the
// picture and a loading line. Its timer counts down in tenths of a second and closes it.

#include "album.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace vimbrel {

class WABOUT : public QWidget {
    Q_OBJECT
public:
    explicit WABOUT(Album& a, QWidget* parent = nullptr);

    // Counts abouttick down from `ticks`, one tick per 100 ms, then closes.
    void start(int ticks);
    // The splash's loading line while the album named on the command line is read; drawn at
    // once, as the reading holds up the event loop.
    void showLoading(const QString& albtitle);

    QTimer Timer1;
    QLabel* ldname;
    QLabel* alit2;
    QLabel* alit1;
    QLabel* topart;

    void Timer1_Timer();

signals:
    // The countdown reached 0 and the window closed.
    void countdownEnded();

private:
    Album& m_a;
};

} // namespace vimbrel
