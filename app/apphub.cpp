// SPDX-License-Identifier: GPL-3.0-or-later
#include "apphub.h"

#include "bookview.h"

#include "helpviewer.h"
#include "impdrop.h"
#include "impimg.h"
#include "pbox.h"
#include "phdesc.h"
#include "phgrp.h"
#include "phmail.h"
#include "phpage.h"
#include "phprint.h"
#include "phslide.h"
#include "reportprint.h"
#include "savepicas.h"
#include "startup.h"
#include "vimbra.h"
#include "wabout.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>

namespace vimbrel {

AppHub::AppHub() : m_album(std::make_unique<Album>()) {
    m_album->ui = &m_ui;
    m_album->views = this;
}

AppHub::~AppHub() {
    // The windows refer to the album; they go first.
    delete m_about;
    m_box.reset();
    m_chooser.reset();
    m_page.reset();
}

void AppHub::InitApp(const QString& albumArgument) {
    Album& a = *m_album;
    a.aboutflag = 'n';
    BusyPointer busy(m_ui);

    m_about = new WABOUT(a);
    QObject::connect(m_about, &WABOUT::countdownEnded, m_about, [this] { splashEnded(); });
    m_about->show();
    // Messages at start-up (a missing album, a damaged list) must not hide behind it.
    m_ui.setStepAside(m_about);
    QApplication::processEvents();

    // Thumbnails of every window: 192 MB in memory, the disk tier in the user's cache.
    m_pictures = std::make_unique<PictureLibrary>(
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
            QStringLiteral("/vimbrel/thumbnails"),
        192LL << 20);
    m_page = std::make_unique<phpage>(a, *this, *m_pictures);
    m_page->savePicAs = [this](const QString& path) {
        SavePicAs(*m_album, *m_pictures, path);
    };
    m_page->showHelp = [this] {
        vimbrel::showHelp(findHelpFile(), QStringLiteral("contents"), m_page.get());
    };
    m_chooser = std::make_unique<vimbra>(a, *this, m_page.get());
    // Loaded hidden, above every other window; the Photo Box tool shows it.
    m_box = std::make_unique<pbox>(a, *this, *m_pictures);
    m_ui.setFallbackParent(m_page.get());

    const bool openArgument = InitStore(a, processPlaces(), mountedVolumes(), albumArgument);
    m_page->Set_it(a.descon == 'y' ? SetItCode::descriptionsOn : SetItCode::descriptionsOff);
    if (openArgument) {
        m_about->showLoading(a.albtitle);
        m_chooser->cb_open_Click();
        if (!a.albfile.isEmpty())
            m_chooser->cb_cancel_Click();
    }
    m_about->start(25);
}

void AppHub::splashEnded() {
    Album& a = *m_album;
    if (a.aboutflag != 'n')
        return;
    m_page->show();
    a.cfglist.select(0);
    a.aboutflag = 'y';
    if (a.albfile.isEmpty())
        showChooser();
}

void AppHub::setAlbumDescLabel(const QString& s) {
    if (m_page)
        m_page->showAlbumDesc(s);
}
void AppHub::SetPage() {
    if (m_page)
        m_page->SetPage();
}
void AppHub::SetTotPg() {
    if (m_page)
        m_page->SetTotPg();
}
void AppHub::Set_it(int code) {
    if (m_page)
        m_page->Set_it(code);
}

void AppHub::showSelMark(int pos, bool visible) {
    if (m_page)
        m_page->showSelMark(pos, visible);
}
void AppHub::setSelCount(int n) {
    if (m_page)
        m_page->setSelCount(n);
}
void AppHub::setGroupLabels(int pictotal, int frtotal, const QString& dispdesc0) {
    if (m_page)
        m_page->setGroupLabels(pictotal, frtotal, dispdesc0);
}

void AppHub::LoadFS(int start) {
    if (m_box)
        m_box->LoadFS(start);
}
void AppHub::setPboxScroll(int max, int value) {
    if (m_box)
        m_box->setPboxScroll(max, value);
}
void AppHub::hidePboxSelMarks() {
    if (m_box)
        m_box->hidePboxSelMarks();
}
void AppHub::setPboxSelCount(int n) {
    if (m_box)
        m_box->setPboxSelCount(n);
}
void AppHub::DispPage(int p) {
    m_page->DispPage(p);
}
void AppHub::clearPagePosition(int k) {
    m_page->clearPagePosition(k);
}
void AppHub::setPhotoCount(int gcount) {
    m_page->showPhotoCount(gcount);
}
bool AppHub::photoBoxVisible() const {
    return m_box && m_box->isVisible();
}
void AppHub::setPhotoBoxVisible(bool visible) {
    if (!m_box || m_box->isVisible() == visible)
        return;
    if (visible && !m_boxPlaced) {
        // First showing: under the page view, else above it, else over the top right of the
        // book; the user moves it by its frame from there.
        m_boxPlaced = true;
        const QRect page = m_page->frameGeometry();
        const QRect screen = m_page->screen()->availableGeometry();
        const int h = m_box->frameGeometry().height(), w = m_box->frameGeometry().width();
        const int x = std::clamp(page.right() - w, screen.left(), screen.right() - w);
        if (page.bottom() + 8 + h <= screen.bottom())
            m_box->move(x, page.bottom() + 8);
        else if (page.top() - 8 - h >= screen.top())
            m_box->move(x, page.top() - 8 - h);
        else
            m_box->move(page.right() - w - 24, page.top() + 64);
    }
    m_box->setVisible(visible);
}
void AppHub::AddToFS(int pos) {
    m_box->AddToFS(pos);
}
void AppHub::DeletePbox() {
    m_box->DeletePbox();
}
void AppHub::fs_DragDrop(int index) {
    m_box->fs_DragDrop(index);
}

void AppHub::showPageView() {
    m_page->show();
    m_page->raise();
    m_page->activateWindow();
}

void AppHub::showChooser() {
    // Centred over the page view, which it belongs to.
    m_chooser->adjustSize();
    m_chooser->move(m_page->frameGeometry().center() - m_chooser->rect().center());
    m_chooser->exec();
}

void AppHub::chooserExit() {
    m_chooser->cb_exit_Click();
}

void AppHub::showAbout(int ticks) {
    if (m_about)
        return;
    // Shown modally: the caller goes on when it has closed.
    WABOUT* about = new WABOUT(*m_album);
    m_about = about;
    about->setWindowModality(Qt::ApplicationModal);
    QEventLoop wait;
    QObject::connect(about, &WABOUT::countdownEnded, &wait, &QEventLoop::quit);
    about->show();
    about->start(ticks);
    wait.exec();
}

void AppHub::showImport() {
    impimg w(*m_album, *this, *m_pictures, m_page.get());
    w.exec();
}

int AppHub::importDropped(const QStringList& paths) {
    return importDrop(*m_album, *this, *m_pictures, paths, m_page.get());
}

void AppHub::showSlideShow() {
    // Modal over the page view; reads slidesrc and dragsrc, which the page view has set.
    phslide w(*m_album, *this, *m_pictures, m_page.get());
    w.exec();
}

void AppHub::showMail() {
    phmail w(*m_album, *m_pictures, m_page.get());
    w.exec();
}

void AppHub::showPrint() {
    phprint w(*m_album, *m_pictures, m_printers, m_page.get());
    w.exec();
}

void AppHub::printReport() {
    PrintRep(*m_album, m_printers, m_page.get());
}

void AppHub::showGroupEditor() {
    phgrp w(*m_album, *this, *this, *m_pictures, m_page.get());
    w.exec();
}

void AppHub::showDescEditor() {
    phdesc w(*m_album, *this, m_page.get());
    w.exec();
}

void AppHub::blankPageView() {
    m_page->blankPage();
}
void AppHub::blankPageTotals() {
    m_page->blankTotals();
}
void AppHub::showNextPageArrow(bool visible) {
    m_page->showNextPageArrow(visible);
}

void AppHub::quit() {
    QCoreApplication::exit(0);
}

} // namespace vimbrel
