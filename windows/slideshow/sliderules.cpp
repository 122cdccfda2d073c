// SPDX-License-Identifier: GPL-3.0-or-later
#include "sliderules.h"

#include <QCoreApplication>

namespace vimbrel {

bool isSlideShowMode(const Album& a) {
    return a.slidesrc == QLatin1String("Slide");
}

namespace {

// A slot the window may read: an empty frame (-1) or a damaged number shows nothing.
bool showable(int slot) {
    return slot >= 1 && slot <= 1000;
}

} // namespace

int fillSlideList(Album& a) {
    if (!isSlideShowMode(a)) {
        if (a.dragsrc < 1 || a.dragsrc > 1000 || !showable(a.frames[a.dragsrc]))
            return 0;
        a.wpics[1].psel = a.frames[a.dragsrc];
        return 1;
    }
    return ListSelectedSlots(a);
}

QStringList slideIntervals() {
    QStringList l;
    for (int s : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 20, 25, 30})
        l.append(QString::number(s));
    return l;
}

QSize slideSize(char tag) {
    switch (tag) {
    case 'S':
        return {400, 300};
    case 'L':
        return {800, 600};
    default:
        return {600, 450};
    }
}

char nextSlideSize(char tag) {
    return tag == 'S' ? 'M' : tag == 'M' ? 'L' : 'S';
}

QRect openingPlace(QSize screen) {
    return {screen.width() / 2 - 300, (screen.height() - slideBarHeight) / 2 - 225, 600, 450};
}

QRect sizePlace(QSize screen, QSize size) {
    int top = (screen.height() - slideBarHeight) / 2 - size.height() / 2;
    if (top < 0)
        top = 0;
    return {screen.width() / 2 - size.width() / 2, top, size.width(), size.height()};
}

QRect barPlace(QSize screen, int barWidth) {
    return {screen.width() / 2 - barWidth / 2, screen.height() - slideBarHeight, barWidth,
            slideBarHeight};
}

int slideBarWidth(bool slideShowMode, bool descShown, int ddescLeft, int exitRight) {
    if (!slideShowMode)
        return exitRight + 8;
    return descShown ? slideBarWideWidth : ddescLeft + 7;
}

QString vbStr(int n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString slideCounter(int position, int nslides) {
    return vbStr(position) + QCoreApplication::translate("phslide", "  of ") + vbStr(nslides) +
           QLatin1Char(' ');
}

int nextPosition(int position, int nslides) {
    return position + 1 > nslides ? 1 : position + 1;
}

int prevPosition(int position, int nslides) {
    return position - 1 < 1 ? nslides : position - 1;
}

Fit slideFit(const PicRec& p, QSize area) {
    return fitPicture(p, area);
}

QString slideName(const PicRec& p) {
    const QString s = p.psdesc.trimmed();
    return s.isEmpty() ? p.pfile.trimmed() : s;
}

QString slideDesc(const PicRec& p) {
    return p.pldesc.trimmed();
}

} // namespace vimbrel
