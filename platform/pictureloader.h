// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's pictures, loaded without the window ever waiting. Each request names the pictures
// now on screen in the order they matter, and optionally pictures to load ahead (after them,
// never delivered, and only begun once the pictures on screen are in). Pictures in the memory tier
// are delivered before request() returns; the rest are made on the library's pool and delivered, on
// the loader's thread, as each arrives. A new request replaces the last: what it no longer names
// and has not started is dropped (a decode already running finishes into the tiers), and a picture
// still wanted is not made twice. Use from the thread the loader lives on (the GUI thread).

#include "picturelibrary.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

namespace vimbrel {

class PictureLoader : public QObject {
    Q_OBJECT
public:
    explicit PictureLoader(PictureLibrary& library, QObject* parent = nullptr);
    ~PictureLoader() override;

    // Replaces the request; returns its generation, which arrived() carries.
    quint64 request(const QList<PictureLibrary::Request>& onScreen,
                    const QList<PictureLibrary::Request>& ahead = {});
    // Drops the request (nothing on screen any more).
    void cancel() { request({}); }
    quint64 generation() const { return m_generation; }
    // Pictures of the current request not yet delivered.
    int pending() const { return m_pending; }
    // Pictures handed to the pool and not yet back (on screen or ahead).
    int working() const { return static_cast<int>(m_jobs.size()); }
    PictureLibrary& library() { return m_library; }

    struct Job;
    struct Link;

signals:
    // The picture at `index` of request `generation`, null when it cannot be read. Emitted only
    // for the current request.
    void arrived(quint64 generation, int index, const QImage& image);
    // Every picture of the current request has been delivered.
    void settled();

private:
    void finished(const std::shared_ptr<Job>& job, const QImage& image);
    void deliver(const QString& key, const QImage& image);
    void start(const std::shared_ptr<Job>& job, int priority);
    void startLater();

    PictureLibrary& m_library;
    std::shared_ptr<Link> m_link;
    quint64 m_generation = 0;
    struct Slot {
        QString key;
        bool delivered = false;
    };
    QList<Slot> m_onScreen;
    int m_pending = 0;
    // Work handed to the pool and not yet back, by picture.
    QHash<QString, std::shared_ptr<Job>> m_jobs;
    // Pictures ahead, handed to the pool once every picture on screen has arrived.
    QList<std::shared_ptr<Job>> m_later;
};

} // namespace vimbrel
