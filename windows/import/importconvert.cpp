// SPDX-License-Identifier: GPL-3.0-or-later
#include "importconvert.h"

#include <QCoreApplication>

#include "filenames.h"
#include "foreignformats.h"

#include <QImage>
#include <QSemaphore>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vimbrel {

namespace {

constexpr int kQuality = 92;

// A conversion holds its picture several times over (decoded, flattened for JPEG, read back),
// ten bytes a pixel and more: pictures converted at once share this many megapixels, so
// several large RAW files or a small PNG claiming a huge size cannot exhaust memory together.
constexpr int kMegapixelBudget = 120;

QSemaphore& megapixels() {
    static QSemaphore budget(kMegapixelBudget);
    return budget;
}

// Holds the picture's share of the budget, waiting while `stop` allows.
class MegapixelShare {
public:
    MegapixelShare(QSize size, const std::atomic<bool>* stop)
        : m_units(int(std::clamp<qint64>(
              (qint64(size.width()) * size.height() + 999'999) / 1'000'000, 1, kMegapixelBudget))) {
        while (!megapixels().tryAcquire(m_units, 50))
            if (stop != nullptr && stop->load()) {
                m_units = 0;
                return;
            }
    }
    ~MegapixelShare() {
        if (m_units > 0)
            megapixels().release(m_units);
    }
    bool held() const { return m_units > 0; }
    MegapixelShare(const MegapixelShare&) = delete;
    MegapixelShare& operator=(const MegapixelShare&) = delete;

private:
    int m_units;
};

QString systemError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype n = bytes.size();
    while (n > 0) {
        const ssize_t w = ::write(fd, p, size_t(n));
        if (w < 0 && errno == EINTR)
            continue;
        if (w == 0)
            errno = ENOSPC;
        if (w <= 0)
            return false;
        p += w;
        n -= w;
    }
    return true;
}

// The written file, flushed and read back, holds `jpeg` and decodes at `size`.
bool targetHolds(int out, const QString& target, const QByteArray& jpeg, QSize size) {
    if (::fdatasync(out) != 0)
        return false;
    const int in = ::open(nameBytes(target).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (in < 0)
        return false;
    QByteArray back;
    const bool read = readWholeFile(in, &back, nullptr);
    ::close(in);
    return read && back == jpeg && QImage::fromData(back, "JPEG").size() == size;
}

} // namespace

CopyOutcome convertPicture(int source, const QString& sourceName, const QString& target,
                           bool* verified, const std::atomic<bool>* stop) {
    const auto stopped = [stop](CopyOutcome* c) {
        if (stop == nullptr || !stop->load())
            return false;
        c->kind = CopyOutcome::SourceFailed;
        c->error = QCoreApplication::translate("impimg", "Import cancelled");
        return true;
    };
    if (verified != nullptr)
        *verified = false;
    CopyOutcome c;
    const FileState before = fileState(source);
    QByteArray bytes;
    if (before.size < 0) {
        c.kind = CopyOutcome::SourceFailed;
        c.error = systemError(errno);
        return c;
    }
    if (!readWholeFile(source, &bytes, &c.error)) {
        c.kind = CopyOutcome::SourceFailed;
        return c;
    }
    if (stopped(&c))
        return c;
    const MegapixelShare share(readForeignSize(bytes, sourceName), stop);
    if (!share.held() && stopped(&c))
        return c;
    const ForeignPicture picture = readForeignPicture(bytes, sourceName, {}, 0, stop);
    bytes = {}; // the decoded picture is large enough on its own
    if (stopped(&c))
        return c;
    if (!picture.ok()) {
        c.kind = CopyOutcome::SourceFailed;
        c.error = picture.error;
        return c;
    }
    const QByteArray jpeg = encodeJpeg(picture.image, picture.exif, kQuality);
    if (jpeg.isEmpty()) {
        c.kind = CopyOutcome::SourceFailed;
        c.error = QCoreApplication::translate("impimg", "The picture cannot be stored as JPEG");
        return c;
    }
    if (stopped(&c))
        return c;
    const QByteArray to = nameBytes(target);
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        c.kind = errno == EEXIST ? CopyOutcome::Exists : CopyOutcome::TargetFailed;
        c.error = systemError(errno);
        return c;
    }
    if (!writeAll(out, jpeg)) {
        c.kind = CopyOutcome::TargetFailed;
        c.error = systemError(errno);
        ::close(out);
        ::unlink(to.constData()); // never leave half a picture behind
        return c;
    }
    if (verified != nullptr) {
        *verified =
            targetHolds(out, target, jpeg, picture.image.size()) && fileState(source) == before;
    }
    ::close(out);
    return c;
}

} // namespace vimbrel
