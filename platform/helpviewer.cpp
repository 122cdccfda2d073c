// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpviewer.h"

#include "artwork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vimbrel {

namespace {

constexpr auto kHelpName = "vimbra.hlp";
// Where an installed program (prefix/bin/vimbrel) finds its data: prefix/share/vimbrel/.
constexpr auto kInstalledHelp = "../share/vimbrel/vimbra.hlp";

bool isReadableFile(const QString& path) {
    const QFileInfo fi(path);
    return !path.isEmpty() && fi.isFile() && fi.isReadable();
}

} // namespace

QString findHelpFile() {
    return findHelpFile(QCoreApplication::applicationDirPath());
}

QString findHelpFile(const QString& programDir) {
    if (programDir.isEmpty())
        return {}; // QDir("") would quietly mean the current folder
    const QDir dir(programDir);
    for (const char* relative : {kHelpName, kInstalledHelp}) {
        const QString candidate = dir.filePath(QString::fromLatin1(relative));
        if (isReadableFile(candidate))
            return QDir::cleanPath(QFileInfo(candidate).absoluteFilePath());
    }
    return {};
}

QPointer<HelpWindow> HelpWindow::s_current;

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("helpwindow"));
    setWindowTitle(QCoreApplication::translate("helpviewer", "Vimbrel Help"));
    // An application icon set by main() wins; otherwise the program's own artwork.
    if (QGuiApplication::windowIcon().isNull())
        setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    resize(720, 600);

    m_back = new QPushButton(style()->standardIcon(QStyle::SP_ArrowBack),
                             QCoreApplication::translate("helpviewer", "&Back"), this);
    m_forward = new QPushButton(style()->standardIcon(QStyle::SP_ArrowForward),
                                QCoreApplication::translate("helpviewer", "&Forward"), this);
    m_contents = new QPushButton(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                 QCoreApplication::translate("helpviewer", "&Contents"), this);
    auto* closeButton = new QPushButton(QCoreApplication::translate("helpviewer", "C&lose"), this);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    for (QPushButton* b : {m_back, m_forward, m_contents, closeButton})
        b->setAutoDefault(false);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpbrowser"));
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(14);
    m_browser->setFrameShape(QFrame::NoFrame);

    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this, &HelpWindow::goToContents);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);

    // The usual browser keys; the buttons' underlined letters work as well.
    auto shortcut = [this](QKeySequence keys, auto slot) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { m_browser->backward(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { m_browser->forward(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Home), [this] { goToContents(); });

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(8, 6, 8, 6);
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(m_contents);
    bar->addStretch(1);
    bar->addWidget(closeButton);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(0, 0, 0, 0);
    all->setSpacing(0);
    all->addLayout(bar);
    all->addWidget(m_browser, 1);
}

HelpWindow* HelpWindow::current() {
    return s_current.data();
}

void HelpWindow::showDocument(const QString& path, const QString& anchor) {
    if (!isReadableFile(path)) {
        showMissing(path);
        return;
    }
    m_path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QUrl url = QUrl::fromLocalFile(m_path);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    // The type is named: the .hlp suffix says nothing about the format. The browser scrolls to
    // the fragment, also when the same section is asked for again after the user scrolled.
    m_browser->setSource(url, QTextDocument::HtmlResource);
    m_contents->setEnabled(true);
}

void HelpWindow::keyPressEvent(QKeyEvent* e) {
    // Escape reaches the window from the browser, which does not use it.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void HelpWindow::showMissing(const QString& path) {
    m_path.clear();
    const QString where =
        path.isEmpty()
            ? QCoreApplication::translate(
                  "helpviewer",
                  "Vimbrel looked for <b>vimbra.hlp</b> in its own folder (%1) and in "
                  "<b>share/vimbrel</b> of its installation, and found it in neither.")
                  .arg(QCoreApplication::applicationDirPath().toHtmlEscaped())
            : QCoreApplication::translate("helpviewer", "The file <b>%1</b> could not be read.")
                  .arg(path.toHtmlEscaped());
    m_browser->setHtml(QCoreApplication::translate(
                           "helpviewer",
                           "<h2 style=\"color:#2f4a7d\">The help is not available</h2><p>%1</p>"
                           "<p>Reinstalling Vimbrel puts the help file back in its place.</p>")
                           .arg(where));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_contents->setEnabled(false);
}

void HelpWindow::goToContents() {
    if (!m_path.isEmpty())
        showDocument(m_path, QStringLiteral("contents"));
}

void showHelp(const QString& path, const QString& anchor, QWidget* parent) {
    HelpWindow* w = HelpWindow::s_current.data();
    if (w == nullptr) {
        w = new HelpWindow(parent);
        w->setAttribute(Qt::WA_DeleteOnClose);
        HelpWindow::s_current = w;
    }
    // Shown before the document is set, so that the anchor is found in the final layout.
    if (w->isMinimized())
        w->showNormal();
    else
        w->show();
    w->raise();
    w->activateWindow();
    w->showDocument(path, anchor);
}

} // namespace vimbrel
