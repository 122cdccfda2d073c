#include "album.h"
#include "albumfile.h"
#include "qtui.h"
#include "singleinstance.h"
#include "startup.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vimbrel"));

    vimbrel::SingleInstance instance;
    if (!instance.acquire())
        return 0; // another Vimbrel is running: leave quietly

    vimbrel::QtUi ui;
    vimbrel::Album album;
    album.ui = &ui;
    const QStringList args = QApplication::arguments();
    const QString argument = args.size() > 1 ? args.at(1) : QString();
    if (vimbrel::InitStore(album, vimbrel::processPlaces(), vimbrel::mountedVolumes(), argument))
        vimbrel::ReadAlbum(album);

    std::printf("Vimbrel: started (configuration %s, %d remembered albums",
                qPrintable(album.cfgfile), album.cfglist.count() - 1);
    if (!album.albfile.isEmpty())
        std::printf(", album %s with %d pictures", qPrintable(album.albfile), album.npics);
    std::printf("). No window exists yet.\n");
    return 0;
}
