// SPDX-License-Identifier: GPL-3.0-or-later
#include "config.h"

#include "atomicfile.h"
#include "logging.h"
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace vimbrel {
namespace {

class CfgReader {
public:
    explicit CfgReader(QByteArrayView in) : m_in(in) {}
    bool integer(Integer& v) {
        if (m_in.size() - m_pos < 2)
            return false;
        v = qFromLittleEndian<qint16>(m_in.data() + m_pos);
        m_pos += 2;
        return true;
    }
    bool byte(char& c) {
        if (m_pos >= m_in.size())
            return false;
        c = m_in[m_pos++];
        return true;
    }
    bool string(QString& s) {
        Integer n = 0;
        if (!integer(n) || n < 0 || n > m_in.size() - m_pos)
            return false;
        s = QString::fromUtf8(m_in.sliced(m_pos, n));
        m_pos += n;
        return true;
    }

private:
    QByteArrayView m_in;
    qsizetype m_pos = 0;
};

void putInteger(QByteArray& out, Integer v) {
    char b[2];
    qToLittleEndian<qint16>(v, b);
    out.append(b, 2);
}

void putString(QByteArray& out, const QString& s) {
    QByteArray u = s.toUtf8();
    if (u.size() > 32767)
        u.truncate(32767);
    putInteger(out, static_cast<Integer>(u.size()));
    out.append(u);
}

} // namespace

void decodeConfig(QByteArrayView bytes, Album& a) {
    CfgReader r(bytes);
    Integer n = 0;
    if (!r.integer(n) || n < 0 || n > 10)
        return; // where the settings start is unknown
    for (int i = 0; i < n; ++i) {
        QString name, file;
        if (!r.string(name) || !r.string(file))
            return;
        a.cfglist.append(name, file);
    }
    Integer size = 0;
    if (!r.integer(size))
        return;
    a.pgsize = size;
    char d = 0;
    if (!r.byte(d))
        return;
    a.descon = d;
    QString card;
    if (r.string(card))
        a.carddir = card;
}

QByteArray encodeConfig(const Album& a) {
    QByteArray out;
    int entries = a.cfglist.count();
    if (entries > 0 && a.cfglist.name(entries - 1) == AlbumList::other)
        --entries;
    entries = std::min(entries, 10);
    putInteger(out, static_cast<Integer>(entries));
    for (int i = 0; i < entries; ++i) {
        putString(out, a.cfglist.name(i).trimmed());
        putString(out, a.cfglist.file(i).trimmed());
    }
    putInteger(out, a.pgsize);
    out.append(a.descon);
    putString(out, a.carddir.trimmed());
    return out;
}

void readConfig(Album& a) {
    QFile f;
    QString why;
    if (!openRegularFile(f, a.cfgfile, &why)) {
        if (QFile::exists(a.cfgfile) || QFileInfo(a.cfgfile).isSymLink())
            qCWarning(storeLog) << "configuration not read:" << a.cfgfile << why;
        return;
    }
    decodeConfig(f.read(maxConfigBytes), a);
}

void SaveCfg(Album& a, int mode) {
    AlbumList& list = a.cfglist;
    const int n = list.count();
    if (n < 1)
        return;
    bool write = true;
    if (mode >= 0) {
        if (mode >= n || list.name(mode).startsWith(QStringLiteral("Other ")))
            return;
        list.removeAt(mode);
    } else if (mode == -1) {
        // The row of the same album file: a name alone does not say which album it is.
        const int found = list.rowOf(a.albfile);
        if (found == 0) {
            write = false;
        } else {
            if (found > 0)
                list.removeAt(found);
            else if (n == AlbumList::maxRows)
                list.removeAt(9);
            list.insertFirst(a.albtitle, a.albfile);
        }
    }
    if (write) {
        // Errors are not shown, only logged.
        if (QString why; !writeFileAtomically(a.cfgfile, encodeConfig(a), &why))
            qCWarning(storeLog) << "configuration not written:" << a.cfgfile << why;
    }
    list.select(0);
}

} // namespace vimbrel
