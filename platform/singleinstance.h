#pragma once
// One running program per user: a lock file in the user's runtime folder.

#include <QLockFile>
#include <QString>
#include <memory>

namespace vimbrel {

class SingleInstance {
public:
    // `folder` empty: the user's runtime folder (else the temporary folder).
    explicit SingleInstance(const QString& folder = {});
    // False when another instance holds the lock. A lock left by a crashed instance is taken.
    bool acquire();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace vimbrel
