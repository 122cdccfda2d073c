// The place, folder and file lists, driven by real mouse and key events on the offscreen
// platform, over folders made in a QTemporaryDir.

#include "folderbrowser.h"
#include "scriptedui.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using namespace vimbrel;

namespace {

class QtApp : public ::testing::Environment {
    std::unique_ptr<QApplication> m_app;

public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_folderbrowser";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }
};
[[maybe_unused]] const auto* const qtApp = ::testing::AddGlobalTestEnvironment(new QtApp);

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
        {q("/boot/efi/"), q("/dev/sda1"), false},
        {q("/run/media/u/STICK/"), q("/dev/sdc1"), true},
        {q("/home/u/.cache/doc/"), q("portal"), true},
        {q("/mnt/ram/"), q("tmpfs"), false},
        {q("/media/u/CARD/"), q("/dev/sdb1"), true},
        {q("/media/u/PHONE/"), q("jmtpfs"), true},
        {q("/data/"), q("/dev/sdd1"), false},
        {q("/data/"), q("/dev/sdd1"), false}, // a bind mount lists once
        {q("/mnt/nas/"), q("nas:/export/photos"), false},
    });
    qputenv("HOME", savedHome);

    QStringList roots;
    for (const Place& p : places)
        roots.append(p.root);
    EXPECT_EQ(roots, (QStringList{q("/home/u"), q("/"), q("/run/media/u/STICK"), q("/media/u/CARD"),
                                  q("/media/u/PHONE"), q("/data"), q("/mnt/nas")}));
    ASSERT_EQ(places.size(), 7);
    EXPECT_EQ(places[0].label, q("Home"));
    EXPECT_EQ(places[3].label, q("CARD (/media/u/CARD)"));
    EXPECT_TRUE(places[3].removable && !places[5].removable);
}

TEST(DriveBox, SetDriveForTakesTheLongestHoldingRootSilently) {
    DriveBox box;
    box.setPlaces({{q("Home"), q("/home/u")}, {q("/"), q("/")}, {q("CARD"), q("/media/CARD")}});
    int picks = 0;
    QObject::connect(&box, &DriveBox::driveChanged, [&] { ++picks; });
    box.setDriveFor(q("/media/CARD/DCIM/100"));
    EXPECT_EQ(box.drive(), q("/media/CARD"));
    box.setDriveFor(q("/media/CARDS")); // a longer name, not a folder inside
    EXPECT_EQ(box.drive(), q("/"));
    box.setDriveFor(q("/home/u/"));
    EXPECT_EQ(box.drive(), q("/home/u"));
    EXPECT_EQ(picks, 0);
}

class DirBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        trips = QDir::cleanPath(tmp.path()) + q("/Trips");
        for (const char* sub : {"beta", "Alpha", ".hidden", "gamma"})
            ASSERT_TRUE(QDir().mkpath(trips + QLatin1Char('/') + q(sub)));
        makeFile(trips + q("/aaa.txt"));
        QObject::connect(&box, &DirBox::pathChanged, [this](const QString& f) { moves << f; });
        QObject::connect(&box, &DirBox::openFailed,
                         [this](const QString&, const QString& e) { failures << e; });
        box.show();
        ASSERT_TRUE(box.setPath(trips));
    }

    QTemporaryDir tmp;
    QString trips;
    DirBox box;
    QStringList moves, failures;
};

TEST_F(DirBoxTest, ListsAncestorsFolderAndVisibleSubfoldersOrRefuses) {
    // Each row's tooltip is its full path: the ancestors run from "/" down to the folder.
    QStringList paths{q("/")};
    for (const QString& part : trips.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        paths << (paths.size() == 1 ? QString() : paths.last()) + QLatin1Char('/') + part;
    const int current = static_cast<int>(paths.size()) - 1;
    paths << trips + q("/Alpha") << trips + q("/beta") << trips + q("/gamma");
    QStringList tips;
    for (int i = 0; i < box.count(); ++i)
        tips << box.item(i)->toolTip();
    EXPECT_EQ(tips, paths);
    EXPECT_EQ(box.currentRow(), current);

    // A folder that cannot be listed is refused with the system's text; nothing moves.
    const QStringList before = texts(box);
    QString error;
    EXPECT_FALSE(box.setPath(trips + q("/missing"), &error));
    EXPECT_EQ(error, sysError(ENOENT));
    EXPECT_FALSE(box.setPath(trips + q("/aaa.txt")));
    EXPECT_EQ(failures, (QStringList{sysError(ENOENT), sysError(ENOTDIR)}));
    EXPECT_EQ(texts(box), before);
    EXPECT_EQ(moves, QStringList{trips});
}

TEST_F(DirBoxTest, DoubleClickAndEnterOpenRowsButNotTheDisabledOne) {
    click(box, row(box, "beta"), true);
    EXPECT_EQ(box.path(), trips + q("/beta"));
    box.setCurrentItem(row(box, "Trips"));
    EXPECT_TRUE(key(box, Qt::Key_Return)); // accepted: a dialog's default button stays still
    EXPECT_EQ(moves, (QStringList{trips, trips + q("/beta"), trips}));

    box.setDisabledFolder(trips + q("/gamma/"));
    ASSERT_NE(row(box, "gamma"), nullptr);
    EXPECT_FALSE(row(box, "gamma")->flags() & Qt::ItemIsEnabled);
    click(box, row(box, "gamma"), true);
    box.setCurrentItem(row(box, "gamma"));
    key(box, Qt::Key_Enter);
    EXPECT_EQ(box.path(), trips);
    ASSERT_TRUE(box.setPath(trips + q("/beta")) && box.setPath(trips)); // relisted
    ASSERT_NE(row(box, "gamma"), nullptr);
    EXPECT_FALSE(row(box, "gamma")->flags() & Qt::ItemIsEnabled);
}

class FileBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"VMB0001.JPG", "vmb0002.jpeg", "notes.txt", "Vmb0006.Bmp",
                                 "vmb0004.gif", ".vmb0005.jpg", "TRIP.vmb"})
            makeFile(tmp.filePath(q(name)));
        ASSERT_TRUE(QDir().mkpath(tmp.filePath(q("vmb0003.jpg"))));
        box.setPattern(q("vmb*.bmp;vmb*.gif;vmb*.jpg"));
        box.setPath(tmp.path());
        QObject::connect(&box, &FileBox::fileClicked, [this](const QString& n) { clicks << n; });
        QObject::connect(&box, &FileBox::fileDoubleClicked,
                         [this](const QString& n) { doubles << n; });
        box.show();
    }

    QTemporaryDir tmp;
    FileBox box;
    QStringList clicks, doubles;
};

TEST_F(FileBoxTest, PatternsMatchPlainVisibleFilesIgnoringCase) {
    EXPECT_EQ(texts(box), (QStringList{q("VMB0001.JPG"), q("vmb0004.gif"), q("Vmb0006.Bmp")}));
    box.setPattern(q(" *.JPEG ; trip.VMB;"));
    EXPECT_EQ(texts(box), (QStringList{q("TRIP.vmb"), q("vmb0002.jpeg")}));
}

TEST_F(FileBoxTest, SelectionModesAndClickSignals) {
    const QString jpg = q("VMB0001.JPG"), gif = q("vmb0004.gif"), bmp = q("Vmb0006.Bmp");
    click(box, box.item(2));
    click(box, box.item(0), false, Qt::ControlModifier);
    EXPECT_EQ(box.selectedNames(), QStringList{jpg});

    box.setMultiSelect(true);
    click(box, box.item(2));
    click(box, box.item(0), false, Qt::ControlModifier);
    EXPECT_EQ(box.selectedNames(), (QStringList{jpg, bmp})); // list order, not click order
    click(box, box.item(0), false, Qt::ControlModifier);     // only deselects: still a click
    key(box, Qt::Key_Down);
    key(box, Qt::Key_Shift); // moves nothing
    EXPECT_EQ(clicks, (QStringList{bmp, jpg, bmp, jpg, jpg, gif}));
    click(box, box.item(2), true);
    EXPECT_EQ(doubles, QStringList{bmp});

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
    EXPECT_EQ(ui.shown[0].text, sysError(ENOENT));
    EXPECT_EQ(drive.drive(), home);
    EXPECT_EQ(dir.path(), home);

    key(drive, Qt::Key_End); // the user picks CARD
    EXPECT_EQ(dir.path(), card);
    EXPECT_EQ(texts(files), QStringList{q("b.JPG")});
    click(dir, row(dir, "DCIM"), true);
    EXPECT_EQ(texts(files), QStringList{q("c.jpg")});
    ASSERT_TRUE(dir.setPath(home)); // the place follows the folder
    EXPECT_EQ(drive.drive(), home);
    EXPECT_EQ(ui.shown.size(), 1);
}

} // namespace
