// SPDX-License-Identifier: GPL-3.0-or-later
#include "apphub.h"
#include "artwork.h"
#include "catalogue.h"
#include "memorytuning.h"
#include "qtui.h"
#include "singleinstance.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv) {
    vimbrel::keepPictureBuffers();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vimbrel"));
    // Desktops match the windows to vimbrel.desktop and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("vimbrel"));
    QApplication::setWindowIcon(vimbrel::artworkIcon(QStringLiteral("vimbrel")));
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    vimbrel::installTranslations(QLocale());

    // Without a lock (a full or read-only runtime folder) the program still runs.
    vimbrel::SingleInstance instance;
    if (instance.acquire() == vimbrel::SingleInstance::Outcome::AlreadyRunning) {
        vimbrel::QtUi().message(
            QStringLiteral("Vimbrel"),
            QCoreApplication::translate("vimbra", "Vimbrel is already running."),
            vimbrel::MsgIcon::Information, vimbrel::MsgButtons::Ok);
        return 0;
    }

    vimbrel::AppHub hub;
    const QStringList args = QApplication::arguments();
    hub.InitApp(args.size() > 1 ? args.at(1) : QString());
    return QApplication::exec();
}
