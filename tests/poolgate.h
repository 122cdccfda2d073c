// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the picture library's pool busy, so that work asked for meanwhile is still waiting
// when the test makes its next move, however fast the machine decodes.

#include "picturelibrary.h"

#include <QSemaphore>

namespace vimbrel::test {

// Holds every thread of the library's pool until released (or destroyed).
class PoolGate {
public:
    explicit PoolGate(PictureLibrary& lib) : m_threads(lib.pool().maxThreadCount()) {
        for (int i = 0; i < m_threads; ++i)
            lib.pool().start([this] {
                m_started.release();
                m_open.acquire();
            });
        m_started.acquire(m_threads);
    }
    ~PoolGate() { release(); }
    void release() {
        m_open.release(m_threads);
        m_threads = 0;
    }

private:
    int m_threads;
    QSemaphore m_started;
    QSemaphore m_open;
};

} // namespace vimbrel::test
