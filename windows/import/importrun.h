// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One press of "&Import": the selected files of one folder copied into the album's picture
// folder, measured, listed in imps and handed to the Photo Box.
//
// Copying and measuring run on the thread pool, a few files ahead; the run settles the files
// in list order on the calling thread, one per next(), so a window can drive it from its event
// loop (ready() / readyFuture() say when next() will not wait) and a test or benchmark can
// simply loop. The model is only touched by the calling thread.
//
// A run that stops part-way (no free number, a copy error, cancel()) hands what it copied to
// the Photo Box and writes the album before its message is shown, so no copy is left that no
// album lists. Sources are deleted only at the very end, after the album naming their copies
// was written, and only when their copies were flushed and compared.

#include "album.h"
#include "importconvert.h"
#include "importrules.h"
#include "picturelibrary.h"
#include "windowhub.h"

#include <QFuture>
#include <QList>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>

#include <atomic>
#include <deque>
#include <functional>

namespace vimbrel {

// How one file of a run is copied and checked, from a source opened with openSource(). Tests
// put in their own to see the order of the steps or a disk that fills up.
struct ImportSteps {
    std::function<CopyOutcome(int source, const QString& target)> copy = [](int source,
                                                                            const QString& target) {
        return copyPicture(source, target);
    };
    std::function<bool(int source, const QString& target)> verify = [](int source,
                                                                       const QString& target) {
        return verifyCopy(source, target);
    };
    // Formats the album does not keep are converted instead; `verified` only when asked.
    // `stop` is set once the run no longer wants the result.
    std::function<CopyOutcome(int source, const QString& sourceName, const QString& target,
                              bool* verified, const std::atomic<bool>* stop)>
        convert = [](int source, const QString& sourceName, const QString& target, bool* verified,
                     const std::atomic<bool>* stop) {
            return convertPicture(source, sourceName, target, verified, stop);
        };
};

class ImportRun {
public:
    using Steps = ImportSteps;

    // `names` are file names in `folder`, in list order (filenames.h text for names that are
    // not UTF-8); with no folder they are full paths.
    ImportRun(Album& a, WindowHub& hub, PictureLibrary& pictures, const QString& folder,
              const QStringList& names, bool deleteSources, Steps steps = {});
    // Waits for the files in flight and removes their copies when the run did not settle them.
    ~ImportRun();
    ImportRun(const ImportRun&) = delete;
    ImportRun& operator=(const ImportRun&) = delete;

    enum class Stop { None, Full, CopyError, Cancelled };

    // Settles the next file (waiting for it when it is still being copied) and starts more.
    // A file that cannot be loaded is reported here and skipped. False once the run is over:
    // every file settled, or a stop.
    bool next();
    // Whether next() would return at once.
    bool ready() const;
    // Finishes when next() would not wait; a finished future when nothing is in flight.
    QFuture<void> readyFuture() const;
    // The run stops at the next file; copies in flight are removed again.
    void cancel();

    // Hands the copies to the Photo Box (AddToFS with BoxPosition::imports) and writes the
    // album when anything was copied, then shows the stop message, then deletes the verified
    // sources. Call once, after next() returned false (or to give up early: that counts as a
    // cancel).
    void finish();

    int total() const { return int(m_names.size()); }
    int settled() const { return m_settled; }
    int copied() const { return int(m_copied.size()); }
    Stop stop() const { return m_stop; }
    bool written() const { return m_written; }
    // Source names, by outcome.
    QStringList copiedNames() const;
    QStringList failedNames() const { return m_failed; }
    QStringList deletedNames() const { return m_deleted; }

    // Files in flight at once: enough to keep both cores decoding while this thread settles.
    static constexpr int aheadLimit = 4;

    struct Result {
        enum Kind { Copied, LoadError, Exists, CopyError } kind = Copied;
        QString error;
        QSize size;
        bool verified = false; // flushed and compared with its source
        FileState source;      // as it was when compared
    };

private:
    struct Job {
        int index = 0;  // into m_names
        int number = 0; // 0: waits for a free number
        QString target; // new name, vmbNNNN.ext
        QFuture<Result> future;
    };
    struct Copy {
        int index;
        QString target;
        bool verified;
        FileState source;
    };

    void fillAhead();
    bool dispatch(Job& job);
    void release(const Job& job);
    void discardInFlight();
    QString sourceOf(int index) const;

    Album& m_a;
    WindowHub& m_hub;
    PictureLibrary& m_pictures;
    const Steps m_steps; // read by the workers
    QString m_folder;
    QStringList m_names;
    bool m_deleteSources;
    QSet<int> m_taken;

    std::deque<Job> m_jobs;
    int m_nextIndex = 0;
    int m_settled = 0;
    Stop m_stop = Stop::None;
    QString m_stopText;
    std::atomic<bool> m_abandon{false}; // the jobs in flight are not wanted any more
    bool m_finished = false;
    bool m_written = false;
    QList<Copy> m_copied;
    QStringList m_failed;
    QStringList m_deleted;
};

} // namespace vimbrel
