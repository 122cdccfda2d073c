// SPDX-License-Identifier: GPL-3.0-or-later
#include "picturename.h"

namespace vimbrel {
namespace {

constexpr qsizetype nameLength = 11; // vmbNNNN.ext

bool asciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool asciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

bool inRange(int n) {
    return n >= 1 && n <= maxPictureNumber;
}

} // namespace

QString pictureFileName(int n, const QString& extension) {
    return QStringLiteral("vmb%1.%2").arg(n, 4, 10, QLatin1Char('0')).arg(extension);
}

std::optional<PictureName> splitPictureName(QStringView name) {
    if (name.size() < 8 || !name.startsWith(QLatin1String("vmb"), Qt::CaseInsensitive) ||
        name.at(7) != QLatin1Char('.'))
        return std::nullopt;
    PictureName parts;
    for (qsizetype i = 3; i < 7; ++i) {
        if (!asciiDigit(name.at(i)))
            return std::nullopt;
        parts.number = parts.number * 10 + (name.at(i).unicode() - '0');
    }
    parts.lowerCaseVmb = name.startsWith(QLatin1String("vmb"));
    parts.extension = name.mid(8);
    return parts;
}

int pictureFileNumber(QStringView name) {
    const int n = namedPictureNumber(name);
    const QStringView ext = name.mid(8);
    const bool picture = ext.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0 ||
                         ext.compare(QLatin1String("gif"), Qt::CaseInsensitive) == 0 ||
                         ext.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
    return picture ? n : 0;
}

int namedPictureNumber(QStringView name) {
    return name.size() == nameLength ? reservedPictureNumber(name) : 0;
}

int reservedPictureNumber(QStringView name) {
    const std::optional<PictureName> parts = splitPictureName(name);
    return parts && inRange(parts->number) ? parts->number : 0;
}

bool isMailCopyName(QStringView name) {
    const std::optional<PictureName> parts = splitPictureName(name);
    return parts && name.size() == nameLength && parts->lowerCaseVmb && inRange(parts->number) &&
           (parts->extension == QLatin1String("jpg") || parts->extension == QLatin1String("gif"));
}

bool isAlbumPictureName(QStringView name) {
    const std::optional<PictureName> parts = splitPictureName(name);
    if (!parts || name.size() != nameLength || !parts->lowerCaseVmb)
        return false;
    const QStringView ext = parts->extension;
    return asciiLetter(ext.at(0)) && asciiLetter(ext.at(1)) && asciiLetter(ext.at(2));
}

} // namespace vimbrel
