// SPDX-License-Identifier: GPL-3.0-or-later
#include "albumfile.h"

#include <QCoreApplication>

#include "atomicfile.h"
#include "config.h"
#include "importjournal.h"
#include "picfiles.h"
#include "picturename.h"
#include "regularfile.h"
#include "ui.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QtEndian>
#include <vector>

#include <sys/stat.h>

namespace vimbrel {
namespace {

const QByteArray kVersion = QByteArrayLiteral("v 01.00");

class Writer {
public:
    explicit Writer(QByteArray& out) : m_out(out) {}
    void integer(Integer v) {
        char b[2];
        qToLittleEndian<qint16>(v, b);
        m_out.append(b, 2);
    }
    template <int N> void text(const FixedText<N>& t) { m_out.append(t.bytes(), N); }
    void raw(const QByteArray& b) { m_out.append(b); }
    void pic(const PicRec& p) {
        text(p.pfile), text(p.pflag), text(p.porient), text(p.psdesc), text(p.pldesc);
        integer(p.pwidth), integer(p.pheight), integer(p.psel);
    }
    void grp(const GrpRec& g) {
        text(g.gname), text(g.gdesc);
        integer(g.gfirst), integer(g.glast), integer(g.gcount);
    }

private:
    QByteArray& m_out;
};

// Reads fields in order; the caller has checked that enough bytes remain.
class Reader {
public:
    explicit Reader(QByteArrayView in) : m_in(in) {}
    qsizetype left() const { return m_in.size() - m_pos; }
    Integer integer() {
        const Integer v = qFromLittleEndian<qint16>(m_in.data() + m_pos);
        m_pos += 2;
        return v;
    }
    template <int N> void text(FixedText<N>& t) {
        t.setBytes(m_in.data() + m_pos);
        m_pos += N;
    }
    QByteArrayView raw(qsizetype n) {
        const QByteArrayView v = m_in.sliced(m_pos, n);
        m_pos += n;
        return v;
    }
    void pic(PicRec& p) {
        text(p.pfile), text(p.pflag), text(p.porient), text(p.psdesc), text(p.pldesc);
        p.pwidth = integer(), p.pheight = integer(), p.psel = integer();
    }
    void grp(GrpRec& g) {
        text(g.gname), text(g.gdesc);
        g.gfirst = integer(), g.glast = integer(), g.gcount = integer();
    }

private:
    QByteArrayView m_in;
    qsizetype m_pos = 0;
};

// The value of a text as a leading decimal number, blanks ignored; no number is 0.
double leadingNumber(const QString& s) {
    QString t = s;
    t.remove(QLatin1Char(' '));
    static const QRegularExpression num(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = num.match(t);
    return m.hasMatch() ? m.captured(0).toDouble() : 0.0;
}

AlbumDecode damaged(const QString& problem) {
    return {AlbumDecode::Damaged, problem};
}

AlbumDecode checkFramesAndGroups(const Album& a) {
    if (a.grps[1].gfirst != 1)
        return damaged(
            QCoreApplication::translate("vimbra", "The first group does not start at frame 1."));
    for (int g = 1; g <= a.ngrps; ++g) {
        const GrpRec& r = a.grps[g];
        if (r.glast < r.gfirst || (g > 1 && r.gfirst != a.grps[g - 1].glast + 1))
            return damaged(QCoreApplication::translate(
                               "vimbra", "Group %1 does not follow the group before it.")
                               .arg(g));
    }
    if (a.grps[a.ngrps].glast != a.nframes)
        return damaged(
            QCoreApplication::translate("vimbra", "The groups do not end at the last frame."));
    std::vector<bool> placed(static_cast<std::size_t>(a.npics) + 1, false);
    for (int F = 1; F <= a.nframes; ++F) {
        const Integer p = a.frames[F];
        if (p == -1)
            continue;
        if (p < 1 || p > a.npics)
            return damaged(QStringLiteral("Frame %1 refers to picture %2, which the album does "
                                          "not hold.")
                               .arg(F)
                               .arg(p));
        // A picture in two frames would be moved twice and overrun the Photo Box.
        if (placed[static_cast<std::size_t>(p)])
            return damaged(
                QCoreApplication::translate("vimbra", "Picture %1 is in more than one frame.")
                    .arg(p));
        placed[static_cast<std::size_t>(p)] = true;
    }
    return {};
}

void readError(Album& a, const QString& text) {
    a.ui->message(QCoreApplication::translate("vimbra", "Open - ERROR"),
                  text + QLatin1Char('\r') + QCoreApplication::translate("vimbra", "File: ") +
                      a.albfile,
                  MsgIcon::Critical);
    ClearAlbum(a);
    a.albfile.clear();
    a.albtitle.clear();
}

} // namespace

QByteArray encodeAlbum(const Album& a) {
    QByteArray out;
    out.reserve(headBytes + a.picdir.size() + countBytes + picRecBytes * (a.npics + a.npbox) +
                grpRecBytes * a.ngrps + 2 * a.nframes);
    Writer w(out);
    w.raw(QByteArrayLiteral("VMB"));
    w.raw(kVersion);
    w.text(a.albname);
    w.text(a.albdesc);
    const QByteArray dir = ansi::encode(a.picdir).left(32767);
    w.integer(static_cast<Integer>(dir.size()));
    w.raw(dir);
    w.integer(a.npics), w.integer(a.npbox), w.integer(a.nframes), w.integer(a.ngrps);
    w.integer(0), w.integer(0), w.integer(0);
    for (int i = 1; i <= a.npics; ++i)
        w.pic(a.pics[i]);
    if (a.npbox > 0)
        for (int i = a.pbfirst; i <= 1000; ++i)
            w.pic(a.pics[i]);
    for (int g = 1; g <= a.ngrps; ++g)
        w.grp(a.grps[g]);
    for (int F = 1; F <= a.nframes; ++F)
        w.integer(a.frames[F]);
    return out;
}

AlbumDecode decodeAlbum(QByteArrayView bytes, Album& a) {
    Reader r(bytes);
    if (r.left() < 3 || r.raw(3) != QByteArrayView("VMB"))
        return {AlbumDecode::BadVersion, {}};
    if (r.left() < 7)
        return damaged(QCoreApplication::translate("vimbra", "The file ends inside its header."));
    const QByteArrayView version = r.raw(7);
    if (leadingNumber(ansi::decode(version.data() + 3, 4)) > 1.00)
        return {AlbumDecode::BadVersion, {}};
    if (r.left() < 8 + 40 + 2)
        return damaged(QCoreApplication::translate("vimbra", "The file ends inside its header."));
    r.text(a.albname);
    r.text(a.albdesc);
    const Integer L = r.integer();
    if (L < 0 || L > r.left())
        return damaged(QCoreApplication::translate(
            "vimbra", "The length of the picture folder name is out of range."));
    r.raw(L); // the folder at the time of saving; the file's own place is used instead
    if (r.left() < countBytes)
        return damaged(QCoreApplication::translate("vimbra", "The file ends inside its header."));
    const Integer npics = r.integer(), npbox = r.integer(), nframes = r.integer(),
                  ngrps = r.integer();
    r.integer(), r.integer(), r.integer();
    if (npics < 0 || npbox < 0 || npics + npbox > 1000)
        return damaged(QStringLiteral("The album claims %1 pictures and %2 in the Photo Box; at "
                                      "most 1000 fit.")
                           .arg(npics)
                           .arg(npbox));
    if (ngrps < 1 || ngrps > 42)
        return damaged(QCoreApplication::translate(
                           "vimbra", "The album claims %1 groups; 1 to 42 are possible.")
                           .arg(ngrps));
    if (nframes < 0 || nframes > 1000)
        return damaged(QCoreApplication::translate(
                           "vimbra", "The album claims %1 frames; at most 1000 are possible.")
                           .arg(nframes));
    const qsizetype need =
        qsizetype(picRecBytes) * (npics + npbox) + qsizetype(grpRecBytes) * ngrps + 2 * nframes;
    if (r.left() < need)
        return damaged(QCoreApplication::translate(
            "vimbra", "The file is cut short: its records are incomplete."));

    a.npics = npics;
    a.npbox = npbox;
    a.nframes = nframes;
    a.ngrps = ngrps;
    for (int i = 1; i <= npics; ++i)
        r.pic(a.pics[i]);
    a.pbfirst = static_cast<Integer>(1000 - npbox + 1);
    a.pbtop = a.pbfirst;
    for (int i = a.pbfirst; i <= 1000; ++i)
        r.pic(a.pics[i]);
    for (int g = 1; g <= ngrps; ++g)
        r.grp(a.grps[g]);
    a.curgrp = 1;
    for (int F = 1; F <= nframes; ++F)
        a.frames[F] = r.integer();

    for (int i = 1; i <= 1000; ++i) {
        if (i > npics && i < a.pbfirst)
            continue;
        if (!isAlbumPictureName(a.pics[i].pfile.text()))
            return damaged(QStringLiteral("Picture %1 has the file name '%2', which is not a "
                                          "picture of this album.")
                               .arg(i)
                               .arg(a.pics[i].pfile.trimmed()));
    }
    if (AlbumDecode d = checkFramesAndGroups(a); d.outcome != AlbumDecode::Ok)
        return d;
    for (int g = 1; g <= ngrps; ++g)
        a.grps[g].gcount = countGroupPictures(a, static_cast<Integer>(g));
    return {};
}

bool WriteAlbum(Album& a) {
    BusyPointer busy(*a.ui);
    QString why;
    if (!writeFileAtomically(a.albfile, encodeAlbum(a), &why)) {
        a.ui->message(QCoreApplication::translate("vimbra", "Save - ERROR"), why,
                      MsgIcon::Critical);
        a.changed = 'y';
        return false;
    }
    a.filenew.fill(0);
    SaveCfg(a, -1);
    a.changed = 'n';
    return true;
}

void ReadAlbum(Album& a) {
    a.alblock.release(); // the album being left is no longer ours
    ClearAlbum(a);
    if (!QFileInfo::exists(a.albfile)) {
        a.ui->message(QCoreApplication::translate("vimbra", "Open - ERROR"),
                      QCoreApplication::translate("vimbra", "File '") + a.albfile +
                          QCoreApplication::translate("vimbra", "'\rDoesn't Exist!"),
                      MsgIcon::Critical);
        a.albfile.clear();
        a.albtitle.clear();
        return;
    }
    // Locked before reading, so that what is read is not a save of another session behind.
    const AlbumLock::Outcome lock = a.alblock.lock(a.albfile);
    const auto unlockUnlessOpened = qScopeGuard([&a] {
        if (a.albfile.isEmpty())
            a.alblock.release();
    });
    QFile f;
    if (QString why; !openRegularFile(f, a.albfile, &why)) {
        readError(a, why);
        return;
    }
    // Never read more than an album file can hold, whatever the file's size.
    const QByteArray bytes = f.read(maxAlbumBytes + 1);
    const bool readFailed = f.error() != QFileDevice::NoError;
    const QString readWhy = f.errorString();
    f.close();
    if (readFailed) {
        readError(a, readWhy);
        return;
    }

    BusyPointer busy(*a.ui);
    AlbumDecode d = bytes.size() > maxAlbumBytes
                        ? damaged(QCoreApplication::translate(
                              "vimbra", "The file is larger than any album file can be."))
                        : decodeAlbum(bytes, a);
    if (d.outcome == AlbumDecode::BadVersion) {
        ClearAlbum(a);
        a.ui->message(
            QCoreApplication::translate("vimbra", "Open - Version ERROR"),
            QCoreApplication::translate("vimbra", "Invalid Vimbrel File, or File Version"),
            MsgIcon::Critical);
        a.albfile.clear();
        a.albtitle.clear();
        return;
    }
    if (d.outcome == AlbumDecode::Damaged) {
        readError(a, d.problem);
        return;
    }

    a.picdir = a.albfile.left(a.albfile.size() - 4) + QLatin1Char('/');
    a.changed = 'n';

    QString listError;
    if (!rebuildFileUsed(a, &listError)) {
        // The album file is there; what is missing is its picture folder, so say which.
        readError(a, listError + QLatin1Char('\r') +
                         QCoreApplication::translate("vimbra", "Folder: ") +
                         a.picdir.left(a.picdir.size() - 1));
        return;
    }
    // Remembered only once it has opened: a list of albums that fail helps nobody.
    SaveCfg(a, -1);

    a.views->LoadFS(LoadFSCode::fromStart);
    a.views->setPboxScroll(a.npbox < 6 ? 1 : a.npbox - 4, 1);

    const GrpRec& g = a.grps[a.curgrp];
    a.views->setGroupLabels(g.gcount, g.glast - g.gfirst + 1,
                            QCoreApplication::translate("vimbra", "Group: ") + g.gname.trimmed() +
                                QStringLiteral("   - ") + g.gdesc.trimmed());
    a.views->setAlbumDescLabel(a.albdesc.trimmed());
    // Two sessions saving one album would each drop the other's changes: the second reads.
    // Where the album could be written but something else stands where the lock goes, another
    // session would not see this one either, so it reads too.
    const bool heldElsewhere = lock == AlbumLock::Outcome::HeldElsewhere;
    const char writable = freeSpaceTest(a);
    const bool unlockable = lock == AlbumLock::Outcome::Unavailable && writable == 'Y';
    a.canwrite = heldElsewhere || unlockable ? 'N' : writable;
    // What a killed save or import left behind goes, but only from an album this session
    // holds and may change: another session's import may still be at work.
    if (lock == AlbumLock::Outcome::Locked && a.canwrite == 'Y') {
        removeWriteLeftovers(a.albfile, 0);
        if (removeUnfinishedImports(a) > 0) {
            a.fileused.fill(0); // the removed numbers are free again
            rebuildFileUsed(a, nullptr);
        }
    }
    a.views->SetTotPg();
    SetAllSel(a, -1);
    if (heldElsewhere) {
        a.ui->message(QCoreApplication::translate("vimbra", "Open - Read Only"),
                      QCoreApplication::translate("vimbra", "Album '") + a.albfile +
                          QStringLiteral("' is open in another Vimbrel session.\r"
                                         "It is opened read-only: changes cannot be saved."),
                      MsgIcon::Information);
    } else if (unlockable) {
        a.ui->message(QCoreApplication::translate("vimbra", "Open - Read Only"),
                      QCoreApplication::translate("vimbra", "Album '") + a.albfile +
                          QCoreApplication::translate(
                              "vimbra", "' cannot be locked against other Vimbrel sessions: '") +
                          AlbumLock::lockPathFor(a.albfile) +
                          QStringLiteral("' is in the way.\rIt is opened read-only: changes "
                                         "cannot be saved."),
                      MsgIcon::Information);
    }
}

} // namespace vimbrel
