// SPDX-License-Identifier: GPL-3.0-or-later
#include "gifwriter.h"

#include <QCoreApplication>

#include "regularfile.h"

#include <QSaveFile>

#include <gif_lib.h>

#include <vector>

namespace vimbrel {

namespace {

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

QString gifError(int code) {
    const char* text = GifErrorString(code);
    return text ? QString::fromLatin1(text)
                : QCoreApplication::translate("phpage", "GIF error %1").arg(code);
}

// Closes the encoder on every way out.
struct GifCloser {
    GifFileType* gif;
    ~GifCloser() {
        if (gif) {
            int ignored = 0;
            EGifCloseFile(gif, &ignored);
        }
    }
};

} // namespace

QByteArray encodeGif(const QImage& image, QString* error) {
    auto fail = [error](const QString& text) {
        if (error)
            *error = text;
        return QByteArray();
    };
    if (image.isNull())
        return fail(QCoreApplication::translate("phpage", "No picture to write"));
    if (image.width() > 65535 || image.height() > 65535)
        return fail(QCoreApplication::translate("phpage", "Picture too large for GIF"));

    // Plain loops over raw rows: a 60-megapixel photo passes through here when saved as GIF.
    const bool alpha = image.hasAlphaChannel();
    const QImage src = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const size_t w = size_t(src.width());
    const size_t h = size_t(src.height());
    std::vector<GifByteType> red(w * h), green(w * h), blue(w * h), index(w * h);
    GifByteType* r = red.data();
    GifByteType* g = green.data();
    GifByteType* b = blue.data();
    bool anyClear = false;
    for (size_t y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(int(y)));
        for (size_t x = 0; x < w; ++x) {
            const QRgb p = line[x];
            *r++ = GifByteType(p >> 16);
            *g++ = GifByteType(p >> 8);
            *b++ = GifByteType(p);
            anyClear = anyClear || (alpha && (p >> 24) < 128);
        }
    }

    // With transparency the last entry is kept free for it.
    const int transparentIndex = 255;
    int colours = anyClear ? 255 : 256;
    GifColorType palette[256] = {};
    if (GifQuantizeBuffer(unsigned(w), unsigned(h), &colours, red.data(), green.data(), blue.data(),
                          index.data(), palette) != GIF_OK)
        return fail(
            QCoreApplication::translate("phpage", "Could not reduce the picture to 256 colours"));
    if (anyClear) {
        GifByteType* i = index.data();
        for (size_t y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(int(y)));
            for (size_t x = 0; x < w; ++x, ++i)
                if ((line[x] >> 24) < 128)
                    *i = transparentIndex;
        }
    }

    QByteArray out;
    int code = 0;
    GifCloser closer{EGifOpen(&out, appendToBuffer, &code)};
    if (!closer.gif)
        return fail(gifError(code));
    EGifSetGifVersion(closer.gif, true);
    ColorMapObject* map = GifMakeMapObject(256, palette);
    if (!map)
        return fail(QCoreApplication::translate("phpage", "Out of memory"));
    const int screen = EGifPutScreenDesc(closer.gif, int(w), int(h), 8, 0, map);
    GifFreeMapObject(map); // the encoder keeps its own copy
    if (screen != GIF_OK)
        return fail(gifError(closer.gif->Error));

    if (anyClear) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = transparentIndex;
        GifByteType ext[4];
        const size_t len = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(closer.gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext) != GIF_OK)
            return fail(gifError(closer.gif->Error));
    }
    if (EGifPutImageDesc(closer.gif, 0, 0, int(w), int(h), false, nullptr) != GIF_OK)
        return fail(gifError(closer.gif->Error));
    for (size_t y = 0; y < h; ++y) {
        if (EGifPutLine(closer.gif, &index[y * w], int(w)) != GIF_OK)
            return fail(gifError(closer.gif->Error));
    }
    GifFileType* gif = closer.gif;
    closer.gif = nullptr;
    if (EGifCloseFile(gif, &code) != GIF_OK)
        return fail(gifError(code));
    return out;
}

bool writeGif(const QImage& image, const QString& path, QString* error) {
    const QByteArray bytes = encodeGif(image, error);
    if (bytes.isEmpty())
        return false;
    const QString target = regularWriteTarget(path, error);
    if (target.isEmpty())
        return false;
    QSaveFile f(target);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

} // namespace vimbrel
