// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running program per user: a lock file in the user's runtime folder. Only a convenience:
// when no lock can be made (the folder is full or read-only, something else stands where the
// lock goes) the program runs without one.

#include <QLockFile>
#include <QString>
#include <memory>

namespace vimbrel {

class SingleInstance {
public:
    enum class Outcome {
        Locked,         // this is the one running Vimbrel
        AlreadyRunning, // a live Vimbrel holds the lock
        Unavailable,    // no lock could be made; nobody was seen holding one
    };

    // `folder` empty: the user's runtime folder (else the temporary folder).
    explicit SingleInstance(const QString& folder = {});
    // A lock left by a crashed instance, or one that names no process at all, is taken over.
    Outcome acquire();

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace vimbrel
