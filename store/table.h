// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Table<T, Lo, Hi>: an array indexed Lo..Hi, so slot, frame and group numbers read the same
// in code, in the album file and in messages. An index outside the table is a programming
// error and stops the program at once rather than touching other memory.

#include <array>
#include <cstdio>
#include <cstdlib>

namespace vimbrel {

[[noreturn]] inline void tableIndexFault(int i, int lo, int hi) {
    std::fprintf(stderr, "vimbrel: table index %d outside %d..%d\n", i, lo, hi);
    std::abort();
}

template <class T, int Lo, int Hi> class Table {
public:
    static constexpr int lo = Lo;
    static constexpr int hi = Hi;

    T& operator[](int i) {
        if (i < Lo || i > Hi) [[unlikely]]
            tableIndexFault(i, Lo, Hi);
        return m_v[static_cast<std::size_t>(i - Lo)];
    }
    const T& operator[](int i) const {
        if (i < Lo || i > Hi) [[unlikely]]
            tableIndexFault(i, Lo, Hi);
        return m_v[static_cast<std::size_t>(i - Lo)];
    }
    void fill(const T& v) { m_v.fill(v); }

private:
    std::array<T, Hi - Lo + 1> m_v{};
};

} // namespace vimbrel
