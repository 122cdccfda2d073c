// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// AlbumViews that writes each call as one line, so tests can check calls and their order.

#include "albumviews.h"

#include <QStringList>

namespace vimbrel {

class RecordingViews : public AlbumViews {
public:
    QStringList calls;

    void setAlbumDescLabel(const QString& s) override { log(QStringLiteral("phpgname=") + s); }
    void SetPage() override { log(QStringLiteral("SetPage")); }
    void SetTotPg() override { log(QStringLiteral("SetTotPg")); }
    void Set_it(int code) override { log(QStringLiteral("Set_it ") + QString::number(code)); }
    void showSelMark(int pos, bool v) override {
        log(QStringLiteral("frsel ") + QString::number(pos) +
            (v ? QStringLiteral(" on") : QStringLiteral(" off")));
    }
    void setSelCount(int n) override { log(QStringLiteral("seldisp ") + QString::number(n)); }
    void setGroupLabels(int pictotal, int frtotal, const QString& d) override {
        log(QStringLiteral("labels ") + QString::number(pictotal) + QLatin1Char(' ') +
            QString::number(frtotal) + QLatin1Char(' ') + d);
    }
    void LoadFS(int start) override { log(QStringLiteral("LoadFS ") + QString::number(start)); }
    void setPboxScroll(int max, int value) override {
        log(QStringLiteral("fs_scroll ") + QString::number(max) + QLatin1Char(' ') +
            QString::number(value));
    }
    void hidePboxSelMarks() override { log(QStringLiteral("fs_sel off")); }
    void setPboxSelCount(int n) override { log(QStringLiteral("fs_selcnt ") + QString::number(n)); }

    // The calls that start with `prefix`, in order.
    QStringList only(const QString& prefix) const {
        QStringList out;
        for (const QString& c : calls)
            if (c.startsWith(prefix))
                out.append(c);
        return out;
    }

private:
    void log(const QString& s) { calls.append(s); }
};

} // namespace vimbrel
