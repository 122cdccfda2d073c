// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictureloader.h"

#include <QMetaObject>
#include <QMutex>
#include <QSet>
#include <QThreadPool>

#include <atomic>

namespace vimbrel {

namespace {

// On-screen pictures go before any picture ahead; within each, first asked first made.
constexpr int onScreenPriority = 2;
constexpr int aheadPriority = 1;

QString keyOf(const PictureLibrary::Request& r) {
    return QStringLiteral("%1\n%2x%3\n%4")
        .arg(r.path)
        .arg(r.size.width())
        .arg(r.size.height())
        .arg(r.angle);
}

} // namespace

struct PictureLoader::Job {
    PictureLibrary::Request request;
    QString key;
    int priority = 0;
    std::atomic<bool> wanted{true};
    std::atomic<bool> started{false};
};

// What a pool task reaches its loader through; cleared when the loader goes.
struct PictureLoader::Link {
    QMutex mutex;
    PictureLoader* loader = nullptr;
};

PictureLoader::PictureLoader(PictureLibrary& library, QObject* parent)
    : QObject(parent), m_library(library), m_link(std::make_shared<Link>()) {
    m_link->loader = this;
}

PictureLoader::~PictureLoader() {
    for (const auto& job : std::as_const(m_jobs))
        job->wanted = false;
    QMutexLocker lock(&m_link->mutex);
    m_link->loader = nullptr;
}

quint64 PictureLoader::request(const QList<PictureLibrary::Request>& onScreen,
                               const QList<PictureLibrary::Request>& ahead) {
    ++m_generation;
    QSet<QString> named;
    for (const auto* list : {&onScreen, &ahead})
        for (const PictureLibrary::Request& r : *list)
            named.insert(keyOf(r));
    // Work nobody wants any more: dropped unless it already runs.
    for (auto it = m_jobs.begin(); it != m_jobs.end();) {
        if (named.contains(it.key())) {
            ++it;
            continue;
        }
        it.value()->wanted = false;
        it = it.value()->started ? std::next(it) : m_jobs.erase(it);
    }
    m_later.removeIf([](const std::shared_ptr<Job>& job) { return !job->wanted; });

    m_onScreen.clear();
    m_pending = 0;
    QList<std::pair<QString, QImage>> atOnce;
    const auto want = [&](const PictureLibrary::Request& r, int priority) {
        const QString key = keyOf(r);
        if (const auto it = m_jobs.constFind(key); it != m_jobs.cend()) {
            const std::shared_ptr<Job>& job = it.value();
            if (job->started) {
                job->wanted = true; // under way: its picture is delivered when it comes
                return;
            }
            if (job->wanted && job->priority >= priority)
                return;          // waiting in the right place of the queue
            job->wanted = false; // it waits behind the wrong pictures: queued again below
        }
        const QImage hit = m_library.cached(r.path, r.size, r.angle);
        if (!hit.isNull()) {
            if (priority == onScreenPriority)
                atOnce.append({key, hit});
            return;
        }
        auto job = std::make_shared<Job>();
        job->request = r;
        job->key = key;
        job->priority = priority;
        m_jobs.insert(key, job);
        if (priority == onScreenPriority)
            start(job, priority);
        else
            m_later.append(job); // would take a core from the pictures on screen
    };
    for (const PictureLibrary::Request& r : onScreen) {
        m_onScreen.append({keyOf(r)});
        ++m_pending;
    }
    for (const PictureLibrary::Request& r : onScreen)
        want(r, onScreenPriority);
    for (const PictureLibrary::Request& r : ahead)
        want(r, aheadPriority);
    for (const auto& [key, image] : atOnce)
        deliver(key, image);
    if (m_pending == 0) {
        startLater();
        emit settled();
    }
    return m_generation;
}

void PictureLoader::startLater() {
    for (const std::shared_ptr<Job>& job : std::exchange(m_later, {}))
        if (job->wanted)
            start(job, job->priority);
}

void PictureLoader::start(const std::shared_ptr<Job>& job, int priority) {
    PictureLibrary* library = &m_library;
    std::shared_ptr<Link> link = m_link;
    m_library.pool().start(
        [library, link, job] {
            if (!job->wanted)
                return;
            job->started = true;
            const PictureLibrary::Request& r = job->request;
            const QImage image = library->thumbnail(r.path, r.size, r.angle);
            QMutexLocker lock(&link->mutex);
            if (PictureLoader* loader = link->loader) // queued events die with their receiver
                QMetaObject::invokeMethod(
                    loader, [loader, job, image] { loader->finished(job, image); },
                    Qt::QueuedConnection);
        },
        priority);
}

void PictureLoader::finished(const std::shared_ptr<Job>& job, const QImage& image) {
    if (const auto it = m_jobs.constFind(job->key); it != m_jobs.cend() && it.value() == job)
        m_jobs.erase(it);
    // A picture made for an older request still serves this one if it names it.
    const int before = m_pending;
    deliver(job->key, image);
    if (before > 0 && m_pending == 0) {
        startLater();
        emit settled();
    }
}

void PictureLoader::deliver(const QString& key, const QImage& image) {
    const quint64 generation = m_generation;
    for (int i = 0; i < m_onScreen.size(); ++i) {
        Slot& slot = m_onScreen[i];
        if (slot.delivered || slot.key != key)
            continue;
        slot.delivered = true;
        --m_pending;
        emit arrived(generation, i, image);
        if (generation != m_generation)
            return; // a receiver made a new request
    }
}

} // namespace vimbrel
