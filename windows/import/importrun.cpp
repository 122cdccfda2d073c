// SPDX-License-Identifier: GPL-3.0-or-later
#include "importrun.h"

#include <QCoreApplication>

#include "albumfile.h"
#include "foreignformats.h"
#include "importjournal.h"
#include "importrules.h"
#include "picfiles.h"
#include "ui.h"

#include <QFile>
#include <QScopeGuard>
#include <QtConcurrent>

#include <unistd.h>

namespace vimbrel {

namespace {

using Result = ImportRun::Result;

QByteArray fileHead(int fd) {
    QByteArray head(16, '\0');
    const ssize_t n = ::pread(fd, head.data(), size_t(head.size()), 0);
    head.truncate(n > 0 ? qsizetype(n) : 0);
    return head;
}

// The format an album picture's extension stands for.
QByteArray formatOfName(const QString& target) {
    const QString ext = target.mid(target.lastIndexOf(QLatin1Char('.')) + 1).toLower();
    return ext == QLatin1String("jpg") ? QByteArray("jpeg") : ext.toLatin1();
}

// Runs on the thread pool: touches files and the picture library only, never the model.
Result importOne(PictureLibrary& pictures, const ImportRun::Steps& steps, const QString& source,
                 const QString& target, bool verify, const std::atomic<bool>* abandon) {
    Result r;
    // A copy that had not begun when the run was given up is not made at all; waiting for it
    // would otherwise make it on the waiting (GUI) thread.
    if (abandon && *abandon) {
        r.kind = Result::LoadError;
        return r;
    }
    QString error;
    const int in = openSource(source, &error);
    const auto closeIn = qScopeGuard([in] {
        if (in >= 0)
            ::close(in);
    });
    const FileState opened = in < 0 ? FileState{} : fileState(in);
    // The copy must hold what its name says: a source in another format than that (whatever
    // its own name) is converted, into a JPEG only.
    const QByteArray holds = in < 0 ? QByteArray() : contentFormat(fileHead(in));
    const QByteArray wants = formatOfName(target);
    const bool convert = holds.isEmpty() ? isForeignPicture(source) : holds != wants;
    if (in >= 0 && convert && wants != "jpeg") {
        r.kind = Result::LoadError;
        r.error = QCoreApplication::translate("impimg", "Not a %1 picture")
                      .arg(QString::fromLatin1(wants.toUpper()));
        return r;
    }
    // Measured from its header before anything is copied: a file that is no picture (a
    // large one could fill the disk) is skipped like any unreadable picture. A conversion
    // decodes the whole source before it writes anything.
    const PictureLibrary::Measure head = in < 0    ? PictureLibrary::Measure{{}, error}
                                         : convert ? PictureLibrary::Measure{}
                                                   : measureHeader(in);
    if (!head.ok()) {
        r.kind = Result::LoadError;
        r.error = head.error;
        return r;
    }
    bool converted = false;
    const CopyOutcome c =
        convert ? steps.convert(in, source, target, verify ? &converted : nullptr, abandon)
                : steps.copy(in, target);
    switch (c.kind) {
    case CopyOutcome::Copied:
        break;
    case CopyOutcome::Exists:
        r.kind = Result::Exists;
        return r;
    case CopyOutcome::SourceFailed:
        r.kind = Result::LoadError;
        r.error = c.error;
        return r;
    case CopyOutcome::TargetFailed:
        r.kind = Result::CopyError;
        r.error = c.error;
        return r;
    }
    // Decoded from the copy, so the disk thumbnail belongs to the album's own file.
    const PictureLibrary::Measure m = measurePicture(pictures, target);
    if (!m.ok()) {
        QFile::remove(target);
        r.kind = Result::LoadError;
        r.error = m.error;
        return r;
    }
    r.size = m.size;
    r.verified = convert ? converted : verify && steps.verify(in, target);
    // Checked against the file as it was opened: a change at any time since keeps it.
    r.source = r.verified && fileState(in) == opened ? opened : FileState{};
    r.verified = r.source.size >= 0;
    return r;
}

} // namespace

ImportRun::ImportRun(Album& a, WindowHub& hub, PictureLibrary& pictures, const QString& folder,
                     const QStringList& names, bool deleteSources, Steps steps)
    : m_a(a), m_hub(hub), m_pictures(pictures), m_steps(std::move(steps)),
      m_folder(folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder
                                                                     : folder + QLatin1Char('/')),
      m_names(names), m_deleteSources(deleteSources), m_taken(numbersTaken(a)) {
    m_a.nimps = 0;
    fillAhead();
}

ImportRun::~ImportRun() {
    discardInFlight();
}

QString ImportRun::sourceOf(int index) const {
    return m_folder + m_names[index];
}

QStringList ImportRun::copiedNames() const {
    QStringList out;
    for (const Copy& c : m_copied)
        out.append(m_names[c.index]);
    return out;
}

void ImportRun::fillAhead() {
    while (m_stop == Stop::None && !m_finished && int(m_jobs.size()) < aheadLimit &&
           m_nextIndex < total()) {
        // A file waiting for a number holds back the ones after it: numbers go in list order.
        if (!m_jobs.empty() && m_jobs.back().number == 0 && !m_jobs.back().future.isValid())
            return;
        Job job;
        job.index = m_nextIndex++;
        const bool started = dispatch(job);
        m_jobs.push_back(job);
        if (!started)
            return;
    }
}

bool ImportRun::dispatch(Job& job) {
    const QString ext = importExtension(m_names[job.index]);
    if (ext.isEmpty()) {
        Result r;
        r.kind = Result::LoadError;
        r.error = QCoreApplication::translate("impimg", "Not a JPEG, GIF or BMP file name");
        job.future = QtFuture::makeReadyFuture(r);
        return true;
    }
    job.number = takeFileNum(m_a, m_taken);
    if (job.number == 0) {
        job.future = {};
        return false;
    }
    job.target = pictureFileName(job.number, ext);
    // Written down before the copy exists, so a run killed from here on leaves a note saying
    // which copy the next session may remove.
    noteImportCopy(m_a.albfile, job.target);
    job.future = QtConcurrent::run(&m_pictures.pool(), importOne, std::ref(m_pictures),
                                   std::cref(m_steps), sourceOf(job.index), m_a.picdir + job.target,
                                   m_deleteSources, &m_abandon);
    return true;
}

void ImportRun::release(const Job& job) {
    if (job.number != 0)
        m_a.fileused[job.number] = m_taken.contains(job.number) ? -1 : 0;
}

void ImportRun::discardInFlight() {
    // A long conversion (a camera RAW) would keep Cancel waiting for a picture nobody wants.
    m_abandon = true;
    for (Job& job : m_jobs) {
        if (job.future.isValid() && job.future.result().kind == Result::Copied)
            QFile::remove(m_a.picdir + job.target);
        release(job);
    }
    m_jobs.clear();
}

bool ImportRun::ready() const {
    return m_jobs.empty() || !m_jobs.front().future.isValid() || m_jobs.front().future.isFinished();
}

QFuture<void> ImportRun::readyFuture() const {
    if (ready())
        return QtFuture::makeReadyFuture();
    return QFuture<void>(m_jobs.front().future);
}

void ImportRun::cancel() {
    if (m_stop != Stop::None || m_finished)
        return;
    m_stop = Stop::Cancelled;
    discardInFlight();
}

bool ImportRun::next() {
    if (m_stop != Stop::None || m_finished)
        return false;
    fillAhead();
    if (m_jobs.empty())
        return false;
    Job& job = m_jobs.front();
    // Files settled since it was queued may have given their numbers back.
    if (!job.future.isValid() && !dispatch(job)) {
        m_stop = Stop::Full;
        discardInFlight();
        return false;
    }
    const Result r = job.future.result();
    const QString name = m_names[job.index];
    QString loadError;
    switch (r.kind) {
    case Result::Copied:
        if (m_a.nimps >= 1000) { // only without the capacity test; imps has no more room
            QFile::remove(m_a.picdir + job.target);
            release(job);
            m_stop = Stop::Full;
            break;
        }
        m_a.fileused[job.number] = -1;
        m_a.filenew[job.number] = -1;
        ++m_a.nimps;
        m_a.imps[m_a.nimps].ifile = job.target;
        m_a.imps[m_a.nimps].iwidth = static_cast<Integer>(r.size.width());
        m_a.imps[m_a.nimps].iheight = static_cast<Integer>(r.size.height());
        m_a.changed = 'y';
        m_copied.append({job.index, job.target, r.verified, r.source});
        break;
    case Result::Exists:
        // Someone else's file took the name meanwhile: the same file tries the next number.
        m_taken.insert(job.number);
        m_a.fileused[job.number] = -1;
        job.number = 0;
        dispatch(job);
        return true;
    case Result::LoadError:
        release(job);
        m_failed.append(name);
        loadError = r.error + QCoreApplication::translate("impimg", "\rFILE: ") + name;
        break;
    case Result::CopyError:
        release(job);
        m_stop = Stop::CopyError;
        m_stopText = r.error + QCoreApplication::translate("impimg", "\rFrom FILE: ") + name +
                     QCoreApplication::translate("impimg", "\r  To FILE: ") + job.target;
        break;
    }
    m_jobs.pop_front();
    ++m_settled;
    if (m_stop != Stop::None) {
        discardInFlight();
        return false;
    }
    fillAhead();
    // Last, with the run in order: the box runs an event loop, and the workers go on meanwhile.
    if (!loadError.isEmpty())
        m_a.ui->message(QCoreApplication::translate("impimg", "Import Image - Load Error"),
                        loadError, MsgIcon::Information);
    return m_stop == Stop::None && !m_finished && !m_jobs.empty();
}

void ImportRun::finish() {
    if (m_finished)
        return;
    if (m_stop == Stop::None && (!m_jobs.empty() || m_nextIndex < total()))
        m_stop = Stop::Cancelled;
    discardInFlight();
    m_finished = true;

    if (!m_copied.isEmpty()) {
        m_hub.AddToFS(BoxPosition::imports);
        m_written = WriteAlbum(m_a);
    }
    // The album names every copy kept; a failed write leaves the note for the next opening.
    if (m_copied.isEmpty() || m_written)
        endImportJournal(m_a.albfile);
    if (m_stop == Stop::Full)
        m_a.ui->message(
            QCoreApplication::translate("impimg", "Import Images - Error"),
            QCoreApplication::translate("impimg", "Album Directory is FULL\rImport Cancelled."),
            MsgIcon::Critical);
    else if (m_stop == Stop::CopyError)
        m_a.ui->message(QCoreApplication::translate("impimg", "Import Image - Copy Error"),
                        m_stopText, MsgIcon::Information);

    // Only an album that lists the copies may let their originals go.
    if (!m_written || !m_deleteSources)
        return;
    syncFolder(m_a.picdir);
    const PictureFolder own(m_a.picdir);
    for (const Copy& c : m_copied)
        if (c.verified && deleteSource(sourceOf(c.index), m_a.picdir + c.target, own, c.source))
            m_deleted.append(m_names[c.index]);
}

} // namespace vimbrel
