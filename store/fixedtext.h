// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FixedText<N>: a String*N field, exactly N bytes of Windows-1252 text padded with blanks.
// Conversion to and from QString happens here only.

#include "ansi.h"

#include <QString>
#include <algorithm>
#include <array>
#include <cstring>

namespace vimbrel {

template <int N> class FixedText {
public:
    static constexpr int size = N;

    FixedText() { m_bytes.fill(' '); }
    FixedText(const QString& s) { set(s); } // NOLINT: fields are assigned from text freely
    FixedText(const char* latin1) { set(QString::fromLatin1(latin1)); }

    // Longer text is cut to N characters, shorter text padded with blanks.
    void set(const QString& s) {
        m_bytes.fill(' ');
        const QByteArray b = ansi::encode(s);
        std::memcpy(m_bytes.data(), b.constData(), std::min<qsizetype>(b.size(), N));
    }
    void setBytes(const char* raw) { std::memcpy(m_bytes.data(), raw, N); }
    const char* bytes() const { return m_bytes.data(); }

    QString text() const { return ansi::decode(m_bytes.data(), N); }
    QString trimmed() const { return text().trimmed(); }

    bool operator==(const FixedText&) const = default;
    bool operator==(const char* latin1) const { return *this == FixedText(latin1); }

private:
    std::array<char, N> m_bytes;
};

} // namespace vimbrel
