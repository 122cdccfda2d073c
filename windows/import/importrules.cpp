// SPDX-License-Identifier: GPL-3.0-or-later
#include "importrules.h"

#include <QCoreApplication>

#include "filenames.h"
#include "folderlist.h"
#include "foreignformats.h"
#include "picfiles.h"
#include "picturename.h"
#include "startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vimbrel {

namespace {

QString systemError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// Closes a descriptor on every way out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

bool writeAll(int fd, const char* p, ssize_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, p, static_cast<size_t>(n));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= w;
    }
    return true;
}

constexpr size_t bufferBytes = 1 << 20;

// A read error on `in` sets errno and *sourceSide.
bool copyByBuffer(int in, int out, bool* sourceSide) {
    const auto buf = std::make_unique<char[]>(bufferBytes);
    for (;;) {
        const ssize_t r = ::read(in, buf.get(), bufferBytes);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            *sourceSide = true;
            return false;
        }
        if (r == 0)
            return true;
        if (!writeAll(out, buf.get(), r))
            return false;
    }
}

// copy_file_range keeps the bytes in the kernel (and shares extents where the file system can).
// Returns 1 done, 0 not supported here (nothing written yet), -1 failed with errno set.
int copyInKernel(int in, int out, off_t size) {
    off_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(size - done), 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const bool unsupported =
                errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP;
            if (done == 0 && unsupported)
                return 0;
            return -1;
        }
        if (n == 0)
            break; // the source became shorter; what is there has been copied
        done += n;
    }
    return 1;
}

bool sameBytes(int a, int b) {
    const auto ba = std::make_unique<char[]>(bufferBytes);
    const auto bb = std::make_unique<char[]>(bufferBytes);
    for (;;) {
        const ssize_t ra = ::read(a, ba.get(), bufferBytes);
        if (ra < 0)
            return false;
        ssize_t rb = 0;
        while (rb < ra) {
            const ssize_t r = ::read(b, bb.get() + rb, static_cast<size_t>(ra - rb));
            if (r <= 0)
                return false;
            rb += r;
        }
        if (ra == 0) {
            char extra;
            return ::read(b, &extra, 1) == 0;
        }
        if (std::memcmp(ba.get(), bb.get(), static_cast<size_t>(ra)) != 0)
            return false;
    }
}

// Sizes are 16-bit in the album.
PictureLibrary::Measure sizeAllowed(PictureLibrary::Measure m) {
    if (m.ok() && (m.size.width() > 32767 || m.size.height() > 32767)) {
        m.error = QCoreApplication::translate(
                      "impimg", "Picture too large (%1 x %2 pixels, at most 32767 a side)")
                      .arg(m.size.width())
                      .arg(m.size.height());
    }
    return m;
}

} // namespace

QString importPattern() {
    QString pattern = QStringLiteral("*.bmp;*.gif;*.jpg;*.jpeg");
    for (const QString& suffix : foreignSuffixes())
        pattern += QStringLiteral(";*.") + suffix;
    return pattern;
}

bool capacityAllows(const Album& a, int count) {
    return int(a.npics) + int(a.npbox) + count <= int(a.maxpics);
}

QString capacityText(int maxpics) {
    const QString number =
        maxpics < 0 ? QString::number(maxpics) : QLatin1Char(' ') + QString::number(maxpics);
    return QCoreApplication::translate("impimg",
                                       "Can Not Add Selected Images.\rAlbum Can Only Have ") +
           number + QCoreApplication::translate("impimg", " Images.");
}

QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString importExtension(const QString& sourceName) {
    const qsizetype dot = sourceName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QString ext = sourceName.mid(dot + 1).toLower();
    if (ext == QLatin1String("jpeg") || isForeignPicture(sourceName))
        return QStringLiteral("jpg"); // other formats are converted
    if (ext == QLatin1String("jpg") || ext == QLatin1String("gif") || ext == QLatin1String("bmp"))
        return ext;
    return {};
}

QSet<int> numbersOnDisk(const QString& picdir) {
    QSet<int> numbers;
    for (const FolderEntry& e : listFolder(picdir).entries)
        if (const int n = reservedPictureNumber(e.name))
            numbers.insert(n);
    return numbers;
}

QSet<int> numbersTaken(const Album& a) {
    return numbersOnDisk(a.picdir) | namedNumbers(a);
}

int takeFileNum(Album& a, const QSet<int>& taken) {
    for (int n = 1; n <= 1000; ++n) {
        if (a.fileused[n] != 0)
            continue;
        a.fileused[n] = -1;
        if (!taken.contains(n))
            return n;
    }
    return 0;
}

int openSource(const QString& path, QString* error) {
    const int fd = ::open(nameBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (error != nullptr)
            *error = systemError(errno);
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (error != nullptr)
            *error = S_ISDIR(st.st_mode) ? systemError(EISDIR)
                                         : QCoreApplication::translate(
                                               "impimg", "Not a picture file (a pipe or device)");
        return -1;
    }
    return fd;
}

PictureLibrary::Measure measureHeader(int fd) {
    PictureLibrary::Measure m;
    QFile file;
    if (::lseek(fd, 0, SEEK_SET) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        m.error = systemError(errno);
        return m;
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.isEmpty()) {
        m.error = reader.errorString();
        return m;
    }
    // size() is the stored size; a quarter turn swaps the sides as shown.
    m.size = reader.transformation() & QImageIOHandler::TransformationRotate90 ? stored.transposed()
                                                                               : stored;
    return sizeAllowed(m);
}

CopyOutcome copyPicture(int in, const QString& target) {
    CopyOutcome c;
    struct stat st {};
    if (::fstat(in, &st) != 0 || ::lseek(in, 0, SEEK_SET) != 0) {
        c.kind = CopyOutcome::SourceFailed;
        c.error = systemError(errno);
        return c;
    }
    const QByteArray to = nameBytes(target);
    const Fd out(::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (out.fd < 0) {
        c.kind = errno == EEXIST ? CopyOutcome::Exists : CopyOutcome::TargetFailed;
        c.error = systemError(errno);
        return c;
    }
    bool sourceSide = false;
    int done = copyInKernel(in, out.fd, st.st_size);
    if (done == 0)
        done = copyByBuffer(in, out.fd, &sourceSide) ? 1 : -1;
    if (done < 0) {
        const int err = errno;
        ::unlink(to.constData()); // never leave half a picture behind
        c.kind = sourceSide || err == EIO ? CopyOutcome::SourceFailed : CopyOutcome::TargetFailed;
        c.error = systemError(err);
    }
    return c;
}

CopyOutcome copyPicture(const QString& source, const QString& target) {
    QString error;
    const Fd in(openSource(source, &error));
    if (in.fd < 0)
        return {CopyOutcome::SourceFailed, error};
    return copyPicture(in.fd, target);
}

bool verifyCopy(int s, const QString& target) {
    const Fd t(::open(nameBytes(target).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (t.fd < 0 || s < 0 || ::fdatasync(t.fd) != 0 || ::lseek(s, 0, SEEK_SET) != 0)
        return false;
    struct stat ss {
    }, ts{};
    if (::fstat(s, &ss) != 0 || ::fstat(t.fd, &ts) != 0 || !S_ISREG(ts.st_mode) ||
        ss.st_size != ts.st_size)
        return false;
    if (ss.st_dev == ts.st_dev && ss.st_ino == ts.st_ino)
        return false; // one file under two names is no copy
    ::posix_fadvise(s, 0, 0, POSIX_FADV_SEQUENTIAL);
    ::posix_fadvise(t.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return sameBytes(s, t.fd);
}

bool verifyCopy(const QString& source, const QString& target) {
    const Fd s(openSource(source, nullptr));
    return verifyCopy(s.fd, target);
}

bool syncFolder(const QString& folder) {
    const Fd d(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return d.fd >= 0 && ::fsync(d.fd) == 0;
}

namespace {

FileState stateOf(const struct stat& st) {
    return {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

} // namespace

FileState fileState(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? stateOf(st) : FileState{};
}

FileState fileState(const QString& path) {
    struct stat st {};
    return ::lstat(nameBytes(path).constData(), &st) == 0 ? stateOf(st) : FileState{};
}

bool deleteSource(const QString& source, const QString& target, const PictureFolder& picdir,
                  const FileState& checked) {
    if (picdir.holds(source) || checked.size < 0)
        return false;
    const FileState now = fileState(source);
    const FileState copy = fileState(target);
    // A conversion differs in size from its source; the state checked says it is the one read.
    if (now != checked || copy.size < 0 || (now.dev == copy.dev && now.ino == copy.ino))
        return false;
    return ::unlink(nameBytes(source).constData()) == 0;
}

PictureLibrary::Measure measurePicture(PictureLibrary& pictures, const QString& path) {
    return sizeAllowed(pictures.MeasurePic(path));
}

QImage decodeSource(int fd, QSize size) {
    QFile file;
    if (::lseek(fd, 0, SEEK_SET) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return {};
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    // The scaled size is asked in stored orientation.
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    reader.setScaledSize(turned ? size.transposed() : size);
    return reader.read();
}

QStringList openingFolders(const QString& carddir, const QList<MountedVolume>& volumes,
                           const QString& fallback) {
    QStringList out;
    for (const QString& f : {carddir.trimmed(), FindCardDrive(volumes), fallback}) {
        const QString clean = f.isEmpty() ? f : QDir::cleanPath(f);
        if (!clean.isEmpty() && !out.contains(clean))
            out.append(clean);
    }
    return out;
}

} // namespace vimbrel
