// SPDX-License-Identifier: GPL-3.0-or-later
#include "importjournal.h"

#include "logging.h"
#include "picfiles.h"
#include "regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

// Far more than 1000 names; a larger note is not ours.
constexpr qint64 maxJournalBytes = 64 * 1024;

} // namespace

QString importJournalPath(const QString& albfile) {
    const QFileInfo fi(albfile);
    return fi.path() + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".importing");
}

bool noteImportCopy(const QString& albfile, const QString& target) {
    // O_NOFOLLOW: a link placed here must not lead the note onto another file.
    const int fd =
        ::open(QFile::encodeName(importJournalPath(albfile)).constData(),
               O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    struct stat st {};
    const QByteArray line = QFile::encodeName(target) + '\n';
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    ::write(fd, line.constData(), size_t(line.size())) == line.size();
    ::close(fd);
    return ok;
}

void endImportJournal(const QString& albfile) {
    const QByteArray path = QFile::encodeName(importJournalPath(albfile));
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode))
        ::unlink(path.constData());
}

int removeUnfinishedImports(const Album& a) {
    const QString journal = importJournalPath(a.albfile);
    QFile f;
    if (a.picdir.isEmpty() || !QFileInfo(journal).isFile() || !openRegularFile(f, journal))
        return 0;
    const QList<QByteArray> lines = f.read(maxJournalBytes).split('\n');
    f.close();
    const QSet<int> named = namedNumbers(a);
    int removed = 0;
    for (const QByteArray& line : lines) {
        const QString name = QFile::decodeName(line);
        const int n = pictureFileNumber(name);
        if (!n || named.contains(n))
            continue;
        const QByteArray path = QFile::encodeName(a.picdir + name);
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(path.constData()) == 0) {
            ++removed;
            qCDebug(storeLog) << "removed the copy of an interrupted import:" << name;
        }
    }
    endImportJournal(a.albfile);
    return removed;
}

} // namespace vimbrel
