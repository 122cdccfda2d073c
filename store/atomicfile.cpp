#include "atomicfile.h"

#include "regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

Q_LOGGING_CATEGORY(writeLog, "vimbrel.store.write")

// The temporary name QSaveFile gives a write of `base`: base + "." + six letters or digits.
bool isTemporaryNameOf(const QByteArray& name, const QByteArray& base) {
    if (name.size() != base.size() + 7 || !name.startsWith(base) || name[base.size()] != '.')
        return false;
    for (qsizetype i = base.size() + 1; i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

int removeWriteLeftovers(const QString& path, int minAgeSeconds) {
    const QFileInfo fi(path);
    const QByteArray base = QFile::encodeName(fi.fileName());
    if (base.isEmpty())
        return 0;
    const int fd =
        ::open(QFile::encodeName(fi.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    DIR* d = ::fdopendir(fd);
    if (!d) {
        ::close(fd);
        return 0;
    }
    int removed = 0;
    const std::time_t now = std::time(nullptr);
    while (const dirent* e = ::readdir(d)) {
        struct stat st {};
        if (isTemporaryNameOf(QByteArray(e->d_name), base) &&
            ::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime >= minAgeSeconds && ::unlinkat(fd, e->d_name, 0) == 0) {
            ++removed;
            qCInfo(writeLog) << "removed the leftover of an interrupted write:"
                             << QFile::decodeName(e->d_name);
        }
    }
    ::closedir(d);
    return removed;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    // QSaveFile follows a link onto whatever it points at and renames over it, a device too.
    const QString target = regularWriteTarget(path, error);
    if (target.isEmpty())
        return false;
    QSaveFile f(target);
    bool ok = f.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        ok = n > 0;
        done += ok ? n : 0;
    }
    if (ok && f.commit())
        return true;
    if (error)
        *error = f.errorString();
    f.cancelWriting();
    return false;
}

} // namespace vimbrel
