// SPDX-License-Identifier: GPL-3.0-or-later
#include "filenames.h"
#include "folderbrowser.h"
#include "scriptedui.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vimbrel;

namespace {

QString q(const char* s) {
    return QString::fromUtf8(s);
}
QString sysError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

void makeFile(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList texts(const QListWidget& list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out.append(list.item(i)->text());
    return out;
}

QListWidgetItem* row(const QListWidget& list, const char* text) {
    const auto found = list.findItems(q(text), Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.last();
}

// Clicks (twice for a double-click). The point is taken first: opening a folder rebuilds
// the list under the mouse.
void click(QListWidget& list, QListWidgetItem* item, bool twice = false,
           Qt::KeyboardModifiers mods = Qt::NoModifier) {
    ASSERT_NE(item, nullptr);
    const QPoint at = list.visualItemRect(item).center();
    const auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent ev(type, at, list.viewport()->mapToGlobal(at), Qt::LeftButton, held, mods);
        QApplication::sendEvent(list.viewport(), &ev);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (twice) {
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

bool key(QWidget& w, int code) { // whether the widget accepted it
    QKeyEvent ev(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(&w, &ev);
    return ev.isAccepted();
}

TEST(DefaultPlaces, KeepsUserVolumesAndDropsSystemMounts) {
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "/home/u");
    const QList<Place> places = defaultPlaces({
        {q("/"), q("/dev/sda2"), false},
        {q("/proc/"), {}, false},
        {q("/run/media/u/STICK/"), q("/dev/sdc1"), true},
        {q("/home/u/.cache/doc/"), q("portal"), true},
        {q("/mnt/ram/"), q("tmpfs"), false},
        {q("/media/u/CARD/"), q("/dev/sdb1"), true},
        {q("/data/"), q("/dev/sdd1"), false},
        {q("/data/"), q("/dev/sdd1"), false}, // a bind mount lists once
        {q("/mnt/nas/"), q("nas:/export/photos"), false},
    });
    qputenv("HOME", savedHome);

    QStringList roots;
    for (const Place& p : places)
        roots.append(p.root);
    EXPECT_EQ(roots, (QStringList{q("/home/u"), q("/"), q("/run/media/u/STICK"), q("/media/u/CARD"),
                                  q("/data"), q("/mnt/nas")}));
    EXPECT_EQ(places.value(3).label, q("CARD (/media/u/CARD)"));
}

TEST(DirBox, ListsAncestorsFolderAndVisibleSubfoldersOrRefuses) {
    QTemporaryDir tmp;
    const QString trips = QDir::cleanPath(tmp.path()) + q("/Trips");
    for (const char* sub : {"beta", "Alpha", ".hidden", "gamma"})
        ASSERT_TRUE(QDir().mkpath(trips + QLatin1Char('/') + q(sub)));
    makeFile(trips + q("/aaa.txt"));
    DirBox box;
    ASSERT_TRUE(box.setPath(trips));
    // Each row's tooltip is its full path: the ancestors run from "/" down to the folder.
    QStringList paths{q("/")};
    for (const QString& part : trips.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        paths << (paths.size() == 1 ? QString() : paths.last()) + QLatin1Char('/') + part;
    paths << trips + q("/Alpha") << trips + q("/beta") << trips + q("/gamma");
    QStringList tips;
    for (int i = 0; i < box.count(); ++i)
        tips << box.item(i)->toolTip();
    EXPECT_EQ(tips, paths);

    // A folder that cannot be listed is refused with the system's text; nothing moves.
    const QStringList before = texts(box);
    QString error;
    EXPECT_FALSE(box.setPath(trips + q("/missing"), &error));
    EXPECT_EQ(error, sysError(ENOENT));
    EXPECT_FALSE(box.setPath(trips + q("/aaa.txt"), &error));
    EXPECT_EQ(error, sysError(ENOTDIR));
    EXPECT_EQ(texts(box), before);
}

// An old card's Latin-1 folder name: shown, opened, and its files listed by their bytes.
TEST(DirBox, AFolderWhoseNameIsNotUtf8OpensAndListsItsFiles) {
    QTemporaryDir tmp;
    const QByteArray latin1 = QFile::encodeName(QDir::cleanPath(tmp.path())) + "/M\xfcller";
    ASSERT_EQ(::mkdir(latin1.constData(), 0755), 0);
    // QTemporaryDir removes by decoded names, which miss these.
    const auto cleanUp = qScopeGuard([&] {
        ::unlink((latin1 + "/a.jpg").constData());
        ::rmdir(latin1.constData());
    });
    ASSERT_EQ(::close(::open((latin1 + "/a.jpg").constData(), O_WRONLY | O_CREAT, 0644)), 0);
    DirBox box;
    FileBox files;
    QObject::connect(&box, &DirBox::pathChanged, &files, &FileBox::setPath);
    ASSERT_TRUE(box.setPath(tmp.path()));
    const QString shown = nameText("M\xfcller");
    ASSERT_EQ(box.findItems(shown, Qt::MatchExactly).size(), 1);
    QString error;
    EXPECT_TRUE(box.setPath(box.findItems(shown, Qt::MatchExactly)[0]->toolTip(), &error))
        << qPrintable(error);
    EXPECT_EQ(nameBytes(box.path()), latin1);
    EXPECT_EQ(texts(files), QStringList(q("a.jpg")));
}

TEST(FileBox, PatternsIgnoreCaseAndMultiSelectionSignalsEveryClick) {
    QTemporaryDir tmp;
    for (const char* name : {"VMB0001.JPG", "vmb0002.jpeg", "notes.txt", "Vmb0006.Bmp",
                             "vmb0004.gif", ".vmb0005.jpg", "TRIP.vmb"})
        makeFile(tmp.filePath(q(name)));
    ASSERT_TRUE(QDir().mkpath(tmp.filePath(q("vmb0003.jpg"))));
    FileBox box;
    box.setPattern(q(" *.JPEG ; trip.VMB;"));
    box.setPath(tmp.path());
    EXPECT_EQ(texts(box), (QStringList{q("TRIP.vmb"), q("vmb0002.jpeg")}));
    box.setPattern(q("vmb*.bmp;vmb*.gif;vmb*.jpg"));
    const QString jpg = q("VMB0001.JPG"), gif = q("vmb0004.gif"), bmp = q("Vmb0006.Bmp");
    EXPECT_EQ(texts(box), (QStringList{jpg, gif, bmp}));

    QStringList clicks, doubles;
    QObject::connect(&box, &FileBox::fileClicked, [&](const QString& n) { clicks << n; });
    QObject::connect(&box, &FileBox::fileDoubleClicked, [&](const QString& n) { doubles << n; });
    box.show();
    box.setMultiSelect(true);
    click(box, box.item(2));
    click(box, box.item(0), false, Qt::ControlModifier);
    EXPECT_EQ(box.selectedNames(), (QStringList{jpg, bmp})); // list order, not click order
    key(box, Qt::Key_Down);
    EXPECT_EQ(clicks, (QStringList{bmp, jpg, gif}));
    click(box, box.item(2), true);
    box.setCurrentRow(1);
    EXPECT_TRUE(key(box, Qt::Key_Return)); // accepted: the default button stays still
    EXPECT_EQ(doubles, (QStringList{bmp, gif}));
}

TEST(ConnectBrowser, PlacesOpenFoldersAndAFailedPlaceGoesBack) {
    QTemporaryDir tmp;
    const QString home = QDir::cleanPath(tmp.filePath(q("home")));
    const QString card = QDir::cleanPath(tmp.filePath(q("card")));
    ASSERT_TRUE(QDir().mkpath(home) && QDir().mkpath(card + q("/DCIM")));
    makeFile(home + q("/a.jpg"));
    makeFile(card + q("/b.JPG"));
    makeFile(card + q("/DCIM/c.jpg"));

    DriveBox drive;
    DirBox dir;
    FileBox files;
    files.setPattern(q("*.jpg"));
    drive.setPlaces({{q("Home"), home}, {q("GONE"), tmp.filePath(q("gone"))}, {q("CARD"), card}});
    ASSERT_TRUE(dir.setPath(home + q("/")));
    dir.show();
    ScriptedUi ui;
    connectBrowser(&drive, &dir, &files, ui);
    EXPECT_EQ(texts(files), QStringList{q("a.jpg")});

    key(drive, Qt::Key_Down); // the user picks GONE
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_EQ(drive.drive(), home);
    EXPECT_EQ(dir.path(), home);

    key(drive, Qt::Key_End); // the user picks CARD
    EXPECT_EQ(dir.path(), card);
    EXPECT_EQ(texts(files), QStringList{q("b.JPG")});
    click(dir, row(dir, "DCIM"), true);
    EXPECT_EQ(texts(files), QStringList{q("c.jpg")});
    ASSERT_TRUE(dir.setPath(home)); // the place follows the folder
    EXPECT_EQ(drive.drive(), home);
}

} // namespace
