#include "apphub.h"

#include "phpage.h"
#include "startup.h"
#include "vimbra.h"
#include "wabout.h"

#include <QApplication>

namespace vimbrel {

AppHub::AppHub() : m_album(std::make_unique<Album>()) {
    m_album->ui = &m_ui;
    m_album->views = this;
}

AppHub::~AppHub() {
    // The windows refer to the album; they go first.
    delete m_about;
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
    QApplication::processEvents();

    m_page = std::make_unique<phpage>(a, *this);
    m_chooser = std::make_unique<vimbra>(a, *this, m_page.get());
    m_ui.setFallbackParent(m_page.get());

    if (InitStore(a, processPlaces(), mountedVolumes(), albumArgument)) {
        m_about->ldname->setText(QStringLiteral("Loading:    ") + a.albtitle);
        m_about->ldname->repaint();
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
        m_page->phpgname->setText(s);
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
    m_about = new WABOUT(*m_album);
    m_about->setWindowModality(Qt::ApplicationModal);
    m_about->show();
    m_about->start(ticks);
}

void AppHub::quit() {
    QCoreApplication::exit(0);
}

} // namespace vimbrel
