#include "albumfile.h"
#include "albumfixture.h"
#include "chooserrules.h"
#include "config.h"
#include "filedlgrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vimbrel;
using vimbrel::test::Fixture;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QByteArray le16(int v) {
    char b[2];
    qToLittleEndian<qint16>(static_cast<qint16>(v), b);
    return QByteArray(b, 2);
}
QByteArray counted(const QString& s) {
    return le16(s.toUtf8().size()) + s.toUtf8();
}

// A folder with a remembered list holding only "Other ...".
struct Place : Fixture {
    QTemporaryDir tmp;
    QString dir = tmp.path();
    Place() {
        a.cfgfile = tmp.filePath(QStringLiteral("cfg/vimbra.cfg"));
        QDir().mkpath(tmp.filePath(QStringLiteral("cfg")));
        a.cfglist.append(AlbumList::other, AlbumList::other);
        a.pgsize = 3;
        a.descon = 'n';
    }
    DlgOutcome createNew(const QString& name, const QString& desc = QStringLiteral("Trip")) {
        return confirmNewOrOpen(a, DlgMode::New, QStringLiteral("Create a New Album"), name, desc,
                                dir);
    }
};

} // namespace

TEST(ChooserButtons, FollowTheOpenAlbumAndTheSelectedRow) {
    Fixture f;
    ChooserButtons b = chooserButtons(f.a, QStringLiteral("TRIP.vmb"));
    EXPECT_FALSE(b.cbReturn); // nothing open
    EXPECT_FALSE(b.cbSave);

    f.a.albfile = QStringLiteral("/x/TRIP.vmb");
    f.a.albtitle = QStringLiteral("TRIP.vmb");
    f.a.canwrite = 'Y';
    b = chooserButtons(f.a, QStringLiteral("TRIP.vmb"));
    EXPECT_TRUE(b.cbReturn);
    EXPECT_TRUE(b.cbSave);
    EXPECT_TRUE(b.cbRename);

    EXPECT_FALSE(chooserButtons(f.a, QStringLiteral("OTHER.vmb")).cbSave); // another album
    EXPECT_FALSE(chooserButtons(f.a, AlbumList::other).cbRename);
    f.a.albtitle = QStringLiteral("Other2.vmb");
    EXPECT_FALSE(chooserButtons(f.a, QStringLiteral("Other2.vmb")).cbSave);
    EXPECT_TRUE(isOtherRow(QStringLiteral("Other2.vmb")));
    EXPECT_FALSE(isOtherRow(QStringLiteral("other.vmb")));

    f.a.albtitle = QStringLiteral("TRIP.vmb");
    f.a.canwrite = 'N';
    b = chooserButtons(f.a, QStringLiteral("TRIP.vmb"));
    EXPECT_TRUE(b.cbReturn);
    EXPECT_FALSE(b.cbSave);
    EXPECT_FALSE(b.cbRename);
}

TEST(SavePrompt, ThreeAnswersAndWhenItIsNotAsked) {
    Place p;
    ASSERT_TRUE(p.createNew(QStringLiteral("TRIP")).close);
    p.a.canwrite = 'Y';
    const QByteArray saved = readFile(p.a.albfile);

    p.a.changed = 'y';
    p.a.albdesc = QStringLiteral("Changed");
    p.ui.answers.enqueue(MsgAnswer::Cancel);
    EXPECT_FALSE(
        savePrompt(p.a, QStringLiteral("Save changes before Quiting?"), QStringLiteral("Exit")));
    ASSERT_EQ(p.ui.shown.size(), 1);
    EXPECT_EQ(p.ui.shown[0].title, QStringLiteral("Exit"));
    EXPECT_EQ(p.ui.shown[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(p.ui.shown[0].icon, MsgIcon::Question);

    p.ui.answers.enqueue(MsgAnswer::No);
    EXPECT_TRUE(savePrompt(p.a, QStringLiteral("Save Changes"), QStringLiteral("Save Changes")));
    EXPECT_EQ(readFile(p.a.albfile), saved);

    p.ui.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(savePrompt(p.a, QStringLiteral("Save Changes"), QStringLiteral("Save Changes")));
    EXPECT_NE(readFile(p.a.albfile), saved);
    EXPECT_EQ(p.a.changed, 'n');

    p.ui.shown.clear();
    EXPECT_TRUE(savePrompt(p.a, QStringLiteral("x"), QStringLiteral("y"))); // nothing changed
    p.a.changed = 'y';
    p.a.canwrite = 'N';
    EXPECT_TRUE(savePrompt(p.a, QStringLiteral("x"), QStringLiteral("y"))); // read-only
    EXPECT_TRUE(p.ui.shown.isEmpty());

    // A save that fails keeps the user where they are.
    p.a.canwrite = 'Y';
    p.a.albfile = p.dir + QStringLiteral("/missing/TRIP.vmb");
    p.ui.answers.enqueue(MsgAnswer::Yes);
    EXPECT_FALSE(savePrompt(p.a, QStringLiteral("x"), QStringLiteral("y")));
    EXPECT_EQ(p.ui.shown.last().title, QStringLiteral("Save - ERROR"));
}

TEST(AlbumName, OnlyLettersDigitsPlusMinusUnderscore) {
    QString typed;
    for (QChar c : QStringLiteral("my album!_+-9\u00e9."))
        if (nameKeyAccepted(c))
            typed += c;
    EXPECT_EQ(typed, QStringLiteral("myalbum_+-9"));
}

TEST(NewAlbum, CreatesFileFolderAndRemembersIt) {
    Place p;
    const DlgOutcome r = p.createNew(QStringLiteral("  TRIP "), QStringLiteral(" By the sea "));
    EXPECT_TRUE(r.close);
    EXPECT_TRUE(p.ui.shown.isEmpty());
    EXPECT_EQ(p.a.albfile, p.dir + QStringLiteral("/TRIP.vmb"));
    EXPECT_EQ(p.a.picdir, p.dir + QStringLiteral("/TRIP/"));
    EXPECT_TRUE(QFileInfo(p.a.picdir).isDir());
    EXPECT_EQ(p.a.changed, 'n');
    const QByteArray file = readFile(p.a.albfile);
    EXPECT_EQ(file.mid(10, 8), QByteArray("TRIP    "));
    EXPECT_EQ(file.mid(18, 11), QByteArray("By the sea "));
    EXPECT_EQ(readFile(p.a.cfgfile), le16(1) + counted(QStringLiteral("TRIP.vmb")) +
                                         counted(p.a.albfile) + le16(3) + "n" + le16(0));
}

TEST(NewAlbum, RefusalsLeaveTheDiskAlone) {
    Place p;
    DlgOutcome r = p.createNew(QStringLiteral("  "));
    EXPECT_FALSE(r.close);
    EXPECT_EQ(r.focus, DlgOutcome::Name);
    EXPECT_EQ(p.ui.shown.last().text, QStringLiteral("Name is Invalid"));
    EXPECT_EQ(p.ui.shown.last().title, QStringLiteral("Create a New Album"));

    r = p.createNew(QStringLiteral("TRIP"), QStringLiteral("   "));
    EXPECT_EQ(r.focus, DlgOutcome::Desc);
    EXPECT_EQ(p.ui.shown.last().text, QStringLiteral("Description is Invalid"));

    QDir(p.dir).mkdir(QStringLiteral("TOUR")); // folder there, album file not
    r = p.createNew(QStringLiteral("TOUR"));
    EXPECT_FALSE(r.close);
    EXPECT_EQ(p.ui.shown.last().title, QStringLiteral("Make Directory - ERROR"));
    EXPECT_EQ(p.ui.shown.last().text, QStringLiteral("File exists"));
    EXPECT_FALSE(QFileInfo::exists(p.dir + QStringLiteral("/TOUR.vmb")));

    ASSERT_TRUE(p.createNew(QStringLiteral("TRIP")).close);
    const QByteArray before = readFile(p.dir + QStringLiteral("/TRIP.vmb"));
    r = p.createNew(QStringLiteral("TRIP"), QStringLiteral("Another"));
    EXPECT_FALSE(r.close);
    EXPECT_EQ(p.ui.shown.last().text,
              QStringLiteral("Album \r") + p.dir + QStringLiteral("/TRIP.vmb\rAlready Exists."));
    EXPECT_EQ(readFile(p.dir + QStringLiteral("/TRIP.vmb")), before);
    EXPECT_TRUE(p.a.albfile.isEmpty() || p.a.npics == 0);
    EXPECT_FALSE(QFileInfo::exists(p.a.cfgfile + QStringLiteral(".tmp")));
}

TEST(OpenAlbum, ReadsTheChosenFile) {
    Place p;
    ASSERT_TRUE(p.createNew(QStringLiteral("TRIP"), QStringLiteral("Sea")).close);
    ClearAlbum(p.a);
    const DlgOutcome r = confirmNewOrOpen(p.a, DlgMode::Open, QStringLiteral("Open an Album"),
                                          QStringLiteral("TRIP"), QString(), p.dir + u'/');
    EXPECT_TRUE(r.close);
    EXPECT_EQ(p.a.albfile, p.dir + QStringLiteral("/TRIP.vmb"));
    EXPECT_EQ(p.a.albdesc.trimmed(), QStringLiteral("Sea"));
    EXPECT_EQ(p.a.changed, 'n');
}

TEST(RenameAlbum, FileFolderListAndStoredNameFollow) {
    Place p;
    ASSERT_TRUE(p.createNew(QStringLiteral("TRIP")).close);
    QFile pic(p.dir + QStringLiteral("/TRIP/vmb0001.jpg"));
    ASSERT_TRUE(pic.open(QIODevice::WriteOnly));
    pic.close();
    p.a.cfglist.insertFirst(QStringLiteral("NEWER.vmb"), QStringLiteral("/n/NEWER.vmb"));
    p.a.cfglist.select(1);
    const RenameSource src = renameSource(p.a);
    EXPECT_EQ(src.oldfile, QStringLiteral("TRIP.vmb"));
    EXPECT_EQ(src.olddir, p.dir);
    EXPECT_EQ(src.oldname, QStringLiteral("TRIP"));

    const QString caption = QStringLiteral("Rename Album 'TRIP'");
    DlgOutcome r = confirmRename(p.a, caption, QStringLiteral("TRIP"), src);
    EXPECT_FALSE(r.close);
    EXPECT_EQ(p.ui.shown.last().text,
              QStringLiteral("Album \r") + p.dir + QStringLiteral("/TRIP.vmb\rAlready Exists."));

    r = confirmRename(p.a, caption, QStringLiteral("TOUR"), src);
    EXPECT_TRUE(r.close);
    EXPECT_FALSE(QFileInfo::exists(p.dir + QStringLiteral("/TRIP.vmb")));
    EXPECT_TRUE(QFileInfo::exists(p.dir + QStringLiteral("/TOUR/vmb0001.jpg")));
    EXPECT_EQ(p.a.albfile, p.dir + QStringLiteral("/TOUR.vmb"));
    EXPECT_EQ(p.a.picdir, p.dir + QStringLiteral("/TOUR/"));
    const QByteArray file = readFile(p.a.albfile);
    EXPECT_EQ(file.mid(10, 8), QByteArray("TOUR    "));
    EXPECT_TRUE(file.contains(QFile::encodeName(p.dir + QStringLiteral("/TOUR/"))));
    EXPECT_EQ(readFile(p.a.cfgfile),
              le16(2) + counted(QStringLiteral("TOUR.vmb")) + counted(p.a.albfile) +
                  counted(QStringLiteral("NEWER.vmb")) + counted(QStringLiteral("/n/NEWER.vmb")) +
                  le16(3) + "n" + le16(0));
}

TEST(RenameAlbum, AFolderThatCannotBeRenamedRollsTheFileBack) {
    Place p;
    ASSERT_TRUE(p.createNew(QStringLiteral("TRIP")).close);
    p.a.cfglist.select(0);
    const RenameSource src = renameSource(p.a);
    QFile blocker(p.dir + QStringLiteral("/TOUR")); // a file where the folder should go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray cfg = readFile(p.a.cfgfile);

    const DlgOutcome r = confirmRename(p.a, QStringLiteral("R"), QStringLiteral("TOUR"), src);
    EXPECT_TRUE(r.close);
    EXPECT_EQ(p.ui.shown.last().title, QStringLiteral("Rename - ERROR"));
    EXPECT_EQ(p.ui.shown.last().text, QStringLiteral("File exists"));
    EXPECT_TRUE(QFileInfo::exists(p.dir + QStringLiteral("/TRIP.vmb")));
    EXPECT_FALSE(QFileInfo::exists(p.dir + QStringLiteral("/TOUR.vmb")));
    EXPECT_TRUE(QFileInfo(p.dir + QStringLiteral("/TRIP")).isDir());
    EXPECT_EQ(p.a.albfile, p.dir + QStringLiteral("/TRIP.vmb"));
    EXPECT_EQ(readFile(p.a.cfgfile), cfg);
}
