// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfile.h"
#include "albumfixture.h"
#include "chooserrules.h"
#include "config.h"
#include "filedlgrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;
using namespace Qt::StringLiterals;
using vimbrel::test::Fixture;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A folder with a remembered list holding only "Other ...".
struct Place : Fixture {
    QTemporaryDir tmp;
    QString dir = tmp.path();
    Place() {
        a.cfgfile = tmp.filePath(u"cfg/vimbra.cfg"_s);
        QDir().mkpath(tmp.filePath(u"cfg"_s));
        a.cfglist.append(AlbumList::other, AlbumList::other);
        a.pgsize = 3;
        a.descon = 'n';
    }
    DlgOutcome createNew(const QString& name, const QString& desc = u"Trip"_s) {
        return confirmNewOrOpen(a, DlgMode::New, u"Create a New Album"_s, name, desc, dir);
    }
    DlgOutcome createIn(const QString& sub, const QString& name, const QString& desc) {
        QDir(dir).mkdir(sub);
        return confirmNewOrOpen(a, DlgMode::New, u"Create a New Album"_s, name, desc,
                                dir + u'/' + sub);
    }
    void openIn(const QString& sub, const QString& name) {
        confirmNewOrOpen(a, DlgMode::Open, u"Open an Album"_s, name, {}, dir + u'/' + sub);
    }
};

} // namespace

TEST(ChooserButtons, OnlyTheRowOfTheOpenAlbumFile) {
    Place p;
    const QString a = p.dir + u"/a/TRIP.vmb"_s, b = p.dir + u"/b/TRIP.vmb"_s;
    const QString other2 = p.dir + u"/Other2.vmb"_s;
    for (const QString& file : {a, b, other2}) {
        QDir().mkpath(QFileInfo(file).path());
        ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    }
    p.a.cfglist.clear();
    p.a.cfglist.append(u"TRIP.vmb"_s, a);
    p.a.cfglist.append(u"TRIP.vmb"_s, b);
    p.a.cfglist.append(u"Other2.vmb"_s, other2);
    p.a.cfglist.append(AlbumList::other, AlbumList::other);
    EXPECT_FALSE(chooserButtons(p.a, 0).cbReturn); // nothing open

    p.a.albfile = b;
    p.a.albtitle = u"TRIP.vmb"_s;
    p.a.canwrite = 'Y';
    EXPECT_FALSE(chooserButtons(p.a, 0).cbSave); // the same name, another album
    EXPECT_TRUE(chooserButtons(p.a, 1).cbSave && chooserButtons(p.a, 1).cbRename);
    ASSERT_TRUE(QFile::link(p.dir + u"/b"_s, p.dir + u"/link"_s));
    p.a.albfile = p.dir + u"/link/TRIP.vmb"_s; // another path to the same file
    EXPECT_TRUE(chooserButtons(p.a, 1).cbRename);
    EXPECT_FALSE(chooserButtons(p.a, -1).cbSave);
    EXPECT_FALSE(chooserButtons(p.a, 3).cbRename); // "Other ..."
    p.a.albfile = other2;
    EXPECT_FALSE(chooserButtons(p.a, 2).cbSave);
    EXPECT_FALSE(isOtherRow(u"other.vmb"_s));

    p.a.albfile = b;
    p.a.canwrite = 'N';
    const ChooserButtons readOnly = chooserButtons(p.a, 1);
    EXPECT_TRUE(readOnly.cbReturn && !readOnly.cbSave);
}

TEST(SavePrompt, ThreeAnswersAndWhenItIsNotAsked) {
    Place p;
    ASSERT_TRUE(p.createNew(u"TRIP"_s).close);
    p.a.canwrite = 'Y';
    const QByteArray saved = readFile(p.a.albfile);

    p.a.changed = 'y';
    p.a.albdesc = u"Changed"_s;
    p.ui.answers.enqueue(MsgAnswer::Cancel);
    EXPECT_FALSE(savePrompt(p.a, u"Save changes before Quiting?"_s, u"Exit"_s));
    ASSERT_EQ(p.ui.shown.size(), 1);
    EXPECT_EQ(p.ui.shown[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(readFile(p.a.albfile), saved);

    p.ui.answers.enqueue(MsgAnswer::No);
    EXPECT_TRUE(savePrompt(p.a, u"Save Changes"_s, u"Save Changes"_s));
    EXPECT_EQ(readFile(p.a.albfile), saved);

    p.ui.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(savePrompt(p.a, u"Save Changes"_s, u"Save Changes"_s));
    EXPECT_NE(readFile(p.a.albfile), saved);
    EXPECT_EQ(p.a.changed, 'n');

    p.ui.shown.clear();
    EXPECT_TRUE(savePrompt(p.a, u"x"_s, u"y"_s)); // nothing changed
    p.a.changed = 'y';
    p.a.canwrite = 'N';
    EXPECT_TRUE(savePrompt(p.a, u"x"_s, u"y"_s)); // read-only
    EXPECT_TRUE(p.ui.shown.isEmpty());

    // A save that fails keeps the user where they are.
    p.a.canwrite = 'Y';
    p.a.albfile = p.dir + u"/missing/TRIP.vmb"_s;
    p.ui.answers.enqueue(MsgAnswer::Yes);
    EXPECT_FALSE(savePrompt(p.a, u"x"_s, u"y"_s));
    EXPECT_EQ(p.ui.shown.last().title, u"Save - ERROR"_s);
}

TEST(AlbumName, OnlyLettersDigitsPlusMinusUnderscore) {
    QString typed;
    for (QChar c : u"my album!_+-9\u00e9."_s)
        if (nameKeyAccepted(c))
            typed += c;
    EXPECT_EQ(typed, u"myalbum_+-9"_s);
}

TEST(NewAlbum, CreatesFileFolderRemembersItAndOpensAgain) {
    Place p;
    const DlgOutcome r = p.createNew(u"  TRIP "_s, u" By the sea "_s);
    EXPECT_TRUE(r.close);
    EXPECT_EQ(p.a.albfile, p.dir + u"/TRIP.vmb"_s);
    EXPECT_TRUE(QFileInfo(p.dir + u"/TRIP/"_s).isDir());
    const QByteArray file = readFile(p.a.albfile);
    EXPECT_EQ(file.mid(10, 8), QByteArray("TRIP    "));
    EXPECT_EQ(file.mid(18, 11), QByteArray("By the sea "));
    EXPECT_EQ(p.a.cfglist.count(), 2);

    ClearAlbum(p.a);
    EXPECT_TRUE(
        confirmNewOrOpen(p.a, DlgMode::Open, u"Open an Album"_s, u"TRIP"_s, QString(), p.dir + u'/')
            .close);
    EXPECT_EQ(p.a.albdesc.trimmed(), u"By the sea"_s);
}

TEST(NewAlbum, RefusalsLeaveTheDiskAlone) {
    Place p;
    DlgOutcome r = p.createNew(u"  "_s);
    EXPECT_EQ(r.focus, DlgOutcome::Name);
    EXPECT_EQ(p.createNew(u"TRIP"_s, u"   "_s).focus, DlgOutcome::Desc);

    QDir(p.dir).mkdir(u"TOUR"_s); // folder there, album file not
    r = p.createNew(u"TOUR"_s);
    EXPECT_FALSE(r.close);
    EXPECT_FALSE(QFileInfo::exists(p.dir + u"/TOUR.vmb"_s));

    // Another session creating the same album at this moment holds its lock.
    QLockFile creating(p.dir + u"/.SEA.vmb.lock"_s);
    ASSERT_TRUE(creating.tryLock(0));
    EXPECT_EQ(p.createNew(u"SEA"_s).focus, DlgOutcome::Name);
    EXPECT_EQ(p.ui.shown.last().text, u"Album \r"_s + p.dir + u"/SEA.vmb\rAlready Exists."_s);
    EXPECT_FALSE(QFileInfo::exists(p.dir + u"/SEA"_s));

    ASSERT_TRUE(p.createNew(u"TRIP"_s).close);
    const QByteArray before = readFile(p.dir + u"/TRIP.vmb"_s);
    r = p.createNew(u"TRIP"_s, u"Another"_s);
    EXPECT_FALSE(r.close);
    EXPECT_EQ(readFile(p.dir + u"/TRIP.vmb"_s), before);
    EXPECT_FALSE(QFileInfo::exists(p.a.cfgfile + u".tmp"_s));
}

TEST(RenameAlbum, NeverReplacesAnythingAndFileFolderAndListFollow) {
    Place p;
    ASSERT_TRUE(p.createNew(u"TRIP"_s).close);
    ASSERT_TRUE(QFile(p.dir + u"/TRIP/vmb0001.jpg"_s).open(QIODevice::WriteOnly));
    p.a.cfglist.insertFirst(u"NEWER.vmb"_s, u"/n/NEWER.vmb"_s);
    p.a.cfglist.select(1);
    const RenameSource src = renameSource(p.a);
    EXPECT_EQ(src.oldname, u"TRIP"_s);
    const QByteArray before = readFile(p.a.albfile);
    const QByteArray cfg = readFile(p.a.cfgfile);
    EXPECT_FALSE(confirmRename(p.a, u"R"_s, u"TRIP"_s, src).close);
    EXPECT_EQ(readFile(p.a.albfile), before);

    // A file where the folder should go: the album file is renamed back.
    ASSERT_TRUE(QFile(p.dir + u"/TOUR"_s).open(QIODevice::WriteOnly));
    EXPECT_TRUE(confirmRename(p.a, u"R"_s, u"TOUR"_s, src).close);
    EXPECT_TRUE(QFileInfo(p.dir + u"/TOUR"_s).isFile());
    EXPECT_FALSE(QFileInfo::exists(p.dir + u"/TOUR.vmb"_s));
    EXPECT_TRUE(QFileInfo(p.dir + u"/TRIP"_s).isDir());
    EXPECT_EQ(p.a.albfile, p.dir + u"/TRIP.vmb"_s);
    EXPECT_EQ(readFile(p.a.albfile), before);
    EXPECT_EQ(readFile(p.a.cfgfile), cfg);

    QFile::remove(p.dir + u"/TOUR"_s);
    EXPECT_TRUE(confirmRename(p.a, u"R"_s, u"TOUR"_s, src).close);
    EXPECT_FALSE(QFileInfo::exists(p.dir + u"/TRIP.vmb"_s));
    EXPECT_TRUE(QFileInfo::exists(p.dir + u"/TOUR/vmb0001.jpg"_s));
    EXPECT_EQ(p.a.albfile, p.dir + u"/TOUR.vmb"_s);
    const QByteArray file = readFile(p.a.albfile);
    EXPECT_EQ(file.mid(10, 8), QByteArray("TOUR    "));
    EXPECT_TRUE(file.contains(QFile::encodeName(p.dir + u"/TOUR/"_s)));
    EXPECT_TRUE(readFile(p.a.cfgfile).contains(QFile::encodeName(p.a.albfile)));
}

TEST(RenameAlbum, RenamesTheOpenAlbumNeverOneOfTheSameNameElsewhere) {
    Place p;
    ASSERT_TRUE(p.createIn(u"a"_s, u"TRIP"_s, u"Album A"_s).close);
    ASSERT_TRUE(p.createIn(u"b"_s, u"TRIP"_s, u"Album B"_s).close);
    const QString a = p.dir + u"/a/TRIP.vmb"_s, b = p.dir + u"/b/TRIP.vmb"_s;
    const QByteArray albumA = readFile(a);
    // A opened from the list, then B through "Other ...": both are remembered, B first.
    p.openIn(u"a"_s, u"TRIP"_s);
    p.openIn(u"b"_s, u"TRIP"_s);
    ASSERT_EQ(p.a.albdesc.trimmed(), u"Album B"_s);
    ASSERT_EQ(p.a.cfglist.count(), 3);
    EXPECT_EQ(p.a.cfglist.file(0), b);
    EXPECT_EQ(p.a.cfglist.file(1), a);

    p.a.cfglist.select(1); // A's row selected while B is open
    const RenameSource src = renameSource(p.a);
    EXPECT_TRUE(confirmRename(p.a, u"R"_s, u"TOUR"_s, src).close);
    EXPECT_EQ(readFile(a), albumA);
    EXPECT_TRUE(QFileInfo(p.dir + u"/a/TRIP"_s).isDir());
    EXPECT_FALSE(QFileInfo::exists(p.dir + u"/a/TOUR.vmb"_s));
    EXPECT_TRUE(QFileInfo(p.dir + u"/b/TOUR"_s).isDir());
    EXPECT_TRUE(readFile(p.dir + u"/b/TOUR.vmb"_s).contains("Album B"));
    ASSERT_EQ(p.a.cfglist.count(), 3);
    EXPECT_EQ(p.a.cfglist.file(0), p.dir + u"/b/TOUR.vmb"_s);
    EXPECT_EQ(p.a.cfglist.file(1), a);

    // The lock went with the album: B is held under its new name, its old lock is gone.
    EXPECT_FALSE(QFileInfo::exists(p.dir + u"/b/.TRIP.vmb.lock"_s));
    QLockFile other(p.dir + u"/b/.TOUR.vmb.lock"_s);
    other.setStaleLockTime(0);
    EXPECT_FALSE(other.tryLock(0));
}
