// SPDX-License-Identifier: GPL-3.0-or-later
#include "phmail.h"

#include <QCoreApplication>

#include "artwork.h"
#include "mailrules.h"
#include "mailsend.h"
#include "picfiles.h"
#include "ui.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vimbrel {

phmail::phmail(Album& a, PictureLibrary& pictures, QWidget* parent, UrlOpener openUrl)
    : QDialog(parent), m_a(a), m_pictures(pictures), m_openUrl(std::move(openUrl)) {
    if (!m_openUrl)
        m_openUrl = [](const QUrl& url) {
            return QDesktopServices::openUrl(url);
        };
    setObjectName(QStringLiteral("phmail"));
    setWindowTitle(QCoreApplication::translate("phmail", "EMail"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setModal(true);

    Frame1 = new QGroupBox(QCoreApplication::translate("phmail", "Select Photo Size"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    const char* captions[] = {QT_TRANSLATE_NOOP("phmail", "Small (400 * 300)"),
                              QT_TRANSLATE_NOOP("phmail", "Medium (600 * 450)"),
                              QT_TRANSLATE_NOOP("phmail", "Large (800 * 600)")};
    auto* sizes = new QVBoxLayout(Frame1);
    sizes->setContentsMargins(16, 10, 16, 10);
    sizes->setSpacing(8);
    for (int i = 0; i < 3; ++i) {
        optsize[i] = new QRadioButton(QCoreApplication::translate("phmail", captions[i]), Frame1);
        optsize[i]->setObjectName(QStringLiteral("optsize%1").arg(i));
        sizes->addWidget(optsize[i]);
    }

    const auto button = [this](const char* name, const QString& caption, const char* art) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(artworkIcon(QLatin1String(art)));
        b->setIconSize(QSize(22, 22));
        b->setMinimumSize(150, 36);
        return b;
    };
    cb_send =
        button("cb_send", QCoreApplication::translate("phmail", "&Start Email App"), "tool-email");
    cb_cancel = button("cb_cancel", QCoreApplication::translate("phmail", "&Return"), "return");
    cb_send->setDefault(true);
    connect(cb_send, &QPushButton::clicked, this, &phmail::cb_send_Click);
    connect(cb_cancel, &QPushButton::clicked, this, &phmail::cb_cancel_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cb_send);
    buttons->addWidget(cb_cancel);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(16, 14, 16, 14);
    all->setSpacing(14);
    all->addWidget(Frame1);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    Form_Load();
}

void phmail::Form_Load() {
    optsize[0]->setChecked(true);
    m_nmail = ListSelectedSlots(m_a);
}

int phmail::chosenSize() const {
    for (int i = 0; i < 3; ++i)
        if (optsize[i]->isChecked())
            return i;
    return 2;
}

void phmail::cb_send_Click() {
    // The folder made at start-up may have been removed, or replaced by a link, since.
    if (!mailDirUsable(m_a.maildir)) {
        m_a.ui->message(QCoreApplication::translate("phmail", "EMail - ERROR"),
                        m_a.maildir +
                            QStringLiteral("\rIs not a folder of Vimbrel's own (a link?): "
                                           "no copies were made."),
                        MsgIcon::Critical);
        return;
    }
    QStringList copies;
    {
        BusyPointer busy(*m_a.ui);
        emptyMailDir(m_a.maildir);
        const int T = mailShortSide(chosenSize());
        QList<PictureLibrary::ResizeJob> jobs;
        for (int i = 1; i <= m_nmail; ++i)
            if (auto job = mailJob(m_a.pics[m_a.wpics[i].psel], m_a.picdir, m_a.maildir, T))
                jobs.append(*job);
        // Failed copies are not reported: only what arrived is attached.
        m_pictures.saveResized(jobs);
        for (const PictureLibrary::ResizeJob& job : jobs)
            if (QFileInfo(job.dest).isFile() && !copies.contains(job.dest))
                copies.append(job.dest);
    }
    if (!mailProgramSetUp()) {
        m_a.ui->message(QCoreApplication::translate("phmail", "EMail"),
                        noMailProgramText(m_a.maildir), MsgIcon::Information);
        return;
    }
    {
        BusyPointer busy(*m_a.ui);
        if (!copies.isEmpty() && startXdgEmail(xdgEmailArgs(copies)) == MailStart::Started)
            return;
    }
    // Without xdg-email the message says where the copies are, to attach by hand.
    if (!m_openUrl(mailUrl(m_a.maildir)))
        m_a.ui->message(QCoreApplication::translate("phmail", "EMail"),
                        noMailProgramText(m_a.maildir), MsgIcon::Information);
}

void phmail::cb_cancel_Click() {
    reject();
}

} // namespace vimbrel
