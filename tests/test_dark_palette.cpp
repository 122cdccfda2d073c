// SPDX-License-Identifier: GPL-3.0-or-later
// The windows under a dark desktop palette (Fusion with dark colours): every field and label
// is readable, taking its colours from the palette or from the book's own artwork, never one
// from each. Screenshots of each window are kept as PNG files under the build folder.

#include "albumfixture.h"
#include "editorviews.h"
#include "impimg.h"
#include "phdesc.h"
#include "phgrp.h"
#include "phmail.h"
#include "phpage.h"
#include "phprint.h"
#include "phslide.h"
#include "picturelibrary.h"
#include "scriptedprinter.h"
#include "vimbra.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace vimbrel;

namespace {

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::Base, QColor(30, 30, 32));
    p.setColor(QPalette::AlternateBase, QColor(50, 50, 54));
    p.setColor(QPalette::Text, QColor(235, 235, 235));
    p.setColor(QPalette::Button, QColor(55, 55, 60));
    p.setColor(QPalette::ButtonText, QColor(235, 235, 235));
    p.setColor(QPalette::Highlight, QColor(60, 110, 190));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, QColor(235, 235, 235));
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 130));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 130));
    return p;
}

double luminance(QColor c) {
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}
double contrast(QColor a, QColor b) {
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The colour a label is drawn on: the nearest ancestor that paints its own background.
QColor behind(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (p->autoFillBackground() || p->isWindow() || p->testAttribute(Qt::WA_StyledBackground))
            return p->palette().color(p->backgroundRole());
    return w->palette().color(QPalette::Window);
}

// Fields and captions that cannot be read: "dgrpname: text on base 1.2".
QStringList unreadable(QWidget& window) {
    QStringList out;
    for (QLineEdit* e : window.findChildren<QLineEdit*>()) {
        if (!e->isVisibleTo(&window))
            continue;
        e->ensurePolished();
        const QPalette p = e->palette();
        const double c = contrast(p.color(QPalette::Text), p.color(QPalette::Base));
        if (c < 3.0)
            out << QStringLiteral("%1: text on base %2").arg(e->objectName()).arg(c, 0, 'f', 1);
    }
    for (QLabel* l : window.findChildren<QLabel*>()) {
        if (!l->isVisibleTo(&window) || l->text().trimmed().isEmpty() || !l->isEnabled())
            continue;
        l->ensurePolished();
        const double c = contrast(l->palette().color(QPalette::WindowText), behind(l));
        if (c < 3.0)
            out << QStringLiteral("%1 '%2': %3").arg(l->objectName(), l->text()).arg(c, 0, 'f', 1);
    }
    return out;
}

// Shown, kept as a screenshot, and every field and caption in it readable.
void expectReadable(QWidget& w, const QString& name) {
    const QString dir = QStringLiteral(VIMBREL_ARTEFACTS "/dark-palette");
    QDir().mkpath(dir);
    w.show();
    QApplication::processEvents();
    EXPECT_TRUE(w.grab().toImage().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
    EXPECT_EQ(unreadable(w), QStringList()) << qPrintable(name);
}

// No page view stands behind the group editor here.
struct NoPageView : EditorPageViews {
    void blankPageView() override {}
    void blankPageTotals() override {}
    void showNextPageArrow(bool) override {}
};

struct DarkDesktop : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    WindowHub hub;
    NoPageView pageViews;
    QPalette before = QApplication::palette();
    QString style = QApplication::style()->name();

    DarkDesktop() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
        a.picdir = tmp.filePath(QStringLiteral("A")) + QLatin1Char('/');
        QDir().mkpath(a.picdir);
        a.sizes[1] = {108, 72, 4, 3};
        a.pgsize = 1;
        a.descon = 'y';
        a.canwrite = 'Y';
        for (int slot = 1; slot <= 5; ++slot) {
            addPictureFile(slot, slot * 2, slot, {80, 60},
                           QColor::fromHsv(slot * 50 % 360, 160, 200));
        }
        setGroups({24, 24});
        a.views = &hub;
        a.cfglist.append(QStringLiteral("TRIP.vmb"), tmp.filePath(QStringLiteral("TRIP.vmb")));
        a.cfglist.append(AlbumList::other, AlbumList::other);
    }
    ~DarkDesktop() {
        QApplication::setPalette(before);
        QApplication::setStyle(style);
    }
};

} // namespace

TEST(DarkPalette, PageViewChooserAndGroupEditorStayReadable) {
    DarkDesktop d;
    phpage page(d.a, d.hub, d.pictures);
    d.a.curpage = 1;
    page.SetPage();
    page.Set_it(SetItCode::reset);
    page.Set_it(SetItCode::descriptionsOn);
    page.dispdesc[0]->setText(QStringLiteral("Group: Group 1   - About group 1"));
    page.show();
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(page.it[4], &in); // the hint line in use
    expectReadable(page, QStringLiteral("pageview"));

    vimbra chooser(d.a, d.hub);
    expectReadable(chooser, QStringLiteral("chooser"));

    d.a.curgrp = 1;
    phgrp groups(d.a, d.hub, d.pageViews, d.pictures);
    expectReadable(groups, QStringLiteral("groupeditor"));

    phdesc descs(d.a, d.hub);
    expectReadable(descs, QStringLiteral("descriptions"));
}

// The other windows a dark desktop reaches: the slide show, import, print and e-mail.
TEST(DarkPalette, SlideShowImportPrintAndMailStayReadable) {
    DarkDesktop d;
    d.a.curgrp = 1;
    d.a.carddir = d.tmp.path();
    d.a.maildir = d.tmp.filePath(QStringLiteral("mail"));
    d.a.slidesrc = QStringLiteral("Slide");
    d.a.albname = QStringLiteral("TRIP");
    QDir().mkpath(d.a.maildir);

    phslide slides(d.a, d.hub, d.pictures);
    expectReadable(slides, QStringLiteral("slideshow"));

    impimg import(d.a, d.hub, d.pictures);
    expectReadable(import, QStringLiteral("import"));

    test::ScriptedPrinterSetup printers;
    phprint print(d.a, d.pictures, printers);
    expectReadable(print, QStringLiteral("print"));

    phmail mail(d.a, d.pictures, nullptr, [](const QUrl&) { return true; });
    expectReadable(mail, QStringLiteral("mail"));
}
