// SPDX-License-Identifier: GPL-3.0-or-later
#include "ansi.h"

#include <array>

namespace vimbrel::ansi {
namespace {

// 0x80..0x9F; the five holes map to the same C1 code points so they round-trip.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QString decode(const char* bytes, qsizetype n) {
    QString s(n, Qt::Uninitialized);
    QChar* out = s.data();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return s;
}

QByteArray encode(const QString& s) {
    QByteArray b;
    b.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            ++i; // one character outside the BMP, one '?'
        b.append(encodeOne(c.unicode()));
    }
    return b;
}

bool holds(const QString& s) {
    for (const QChar c : s)
        if (c != QLatin1Char('?') && encodeOne(c.unicode()) == '?')
            return false;
    return true;
}

QString forField(const QString& s) {
    const QString composed = s.normalized(QString::NormalizationForm_C);
    QString out;
    out.reserve(composed.size());
    bool inControls = false;
    for (const QChar c : composed) {
        const bool control = c.unicode() < 0x20 || c.unicode() == 0x7F;
        if (control && !inControls)
            out.append(QLatin1Char(' '));
        else if (!control)
            out.append(c);
        inControls = control;
    }
    return out;
}

} // namespace vimbrel::ansi
