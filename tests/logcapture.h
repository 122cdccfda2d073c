// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Catches the program's log lines while it lives, to check what a failure leaves behind.

#include <QList>
#include <QMutex>
#include <QString>
#include <QtGlobal>

namespace vimbrel::test {

struct Line {
    QString category;
    QtMsgType type;
    QString text;
};

// Collects every message while it lives; only one at a time.
class LogCapture {
public:
    LogCapture() {
        s_self = this;
        m_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture() {
        qInstallMessageHandler(m_previous);
        s_self = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QList<Line> lines() {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    // The lines of `category` that mention `file`.
    QList<Line> about(const QString& category, const QString& file) {
        QList<Line> out;
        for (const Line& l : lines())
            if (l.category == category && l.text.contains(file))
                out.append(l);
        return out;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext& ctx, const QString& text) {
        QMutexLocker lock(&s_self->m_mutex);
        s_self->m_lines.append({QString::fromUtf8(ctx.category), type, text});
    }
    static inline LogCapture* s_self = nullptr;
    QtMessageHandler m_previous = nullptr;
    QMutex m_mutex;
    QList<Line> m_lines;
};

} // namespace vimbrel::test
