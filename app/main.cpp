#include "album.h"
#include "qtui.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vimbrel::QtUi ui;
    vimbrel::Album album;
    album.ui = &ui;
    vimbrel::ClearAlbum(album);
    std::puts("Vimbrel: start-up done; no window exists yet.");
    return 0;
}
