// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names as text without losing a byte. Linux names are bytes; an old card or a Windows
// disk may hold names that are not UTF-8 (a Latin-1 "M\xfcller.jpg"). QFile::decodeName turns
// every such byte into U+FFFD, so the name no longer opens the file, and two names can show as
// one. nameText() keeps each byte that is not part of valid UTF-8 as the lone surrogate
// U+DC00 + byte (as Python's surrogateescape does), and nameBytes() turns it back; for UTF-8
// names both are QFile::decodeName and QFile::encodeName.

#include <QByteArray>
#include <QString>

namespace vimbrel {

inline QString nameText(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        int len = 0;
        char32_t cp = 0, least = 0;
        if (b < 0x80) {
            out.append(QChar(char16_t(b)));
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0)
            len = 2, cp = b & 0x1F, least = 0x80;
        else if ((b & 0xF0) == 0xE0)
            len = 3, cp = b & 0x0F, least = 0x800;
        else if ((b & 0xF8) == 0xF0)
            len = 4, cp = b & 0x07, least = 0x10000;
        bool valid = len > 0 && i + len <= n;
        for (int k = 1; valid && k < len; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        // Overlong forms, encoded surrogates and values past Unicode are not UTF-8 either.
        if (valid && cp >= least && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF)) {
            if (cp > 0xFFFF) {
                out.append(QChar(QChar::highSurrogate(cp)));
                out.append(QChar(QChar::lowSurrogate(cp)));
            } else {
                out.append(QChar(char16_t(cp)));
            }
            i += len;
        } else {
            out.append(QChar(char16_t(0xDC00 + b)));
            ++i;
        }
    }
    return out;
}

inline QByteArray nameBytes(const QString& text) {
    // Runs between kept bytes go to UTF-8 whole: one conversion per name, not per character.
    QByteArray out;
    out.reserve(text.size());
    qsizetype run = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            i += 2; // a pair, even when its second half looks like a kept byte
            continue;
        }
        if (c >= 0xDC80 && c <= 0xDCFF) {
            out.append(QStringView(text).mid(run, i - run).toUtf8());
            out.append(char(c - 0xDC00));
            run = i + 1;
        }
        ++i;
    }
    out.append(QStringView(text).mid(run).toUtf8());
    return out;
}

// The text with every kept byte as U+FFFD: regular expressions refuse lone surrogates.
inline QString nameForMatching(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode()))
            ++i; // a pair: one character beyond the BMP
        else if (c >= 0xDC80 && c <= 0xDCFF)
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace vimbrel
