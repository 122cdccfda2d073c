// SPDX-License-Identifier: GPL-3.0-or-later
#include "mailsend.h"

#include "logging.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace vimbrel {

MailStart startXdgEmail(const QStringList& args, int waitMs) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return MailStart::Missing;
    // Owned by the application, so one left running is not killed with this call's scope.
    auto* p = new QProcess(QCoreApplication::instance());
    p->setProcessChannelMode(QProcess::ForwardedChannels);
    p->start(program, args);
    if (!p->waitForStarted()) {
        qCWarning(mailLog) << "mail program not started:" << program << "-" << p->errorString();
        delete p;
        return MailStart::Failed;
    }
    if (!p->waitForFinished(waitMs)) {
        QObject::connect(p, &QProcess::finished, p, &QObject::deleteLater);
        return MailStart::Started;
    }
    const bool ok = p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0;
    if (!ok)
        qCWarning(mailLog) << "mail program failed:" << program << "-"
                           << (p->exitStatus() == QProcess::NormalExit
                                   ? QStringLiteral("exit code %1").arg(p->exitCode())
                                   : p->errorString());
    delete p;
    return ok ? MailStart::Started : MailStart::Failed;
}

bool mailProgramSetUp() {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (program.isEmpty())
        return true;
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, {QStringLiteral("query"), QStringLiteral("default"),
                      QStringLiteral("x-scheme-handler/mailto")});
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        p.kill();
        p.waitForFinished();
        return true;
    }
    return !p.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace vimbrel
