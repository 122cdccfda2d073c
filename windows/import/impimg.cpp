// SPDX-License-Identifier: GPL-3.0-or-later
#include "impimg.h"

#include <QCoreApplication>

#include "artwork.h"
#include "config.h"
#include "filenames.h"
#include "framefit.h"
#include "importrules.h"
#include "importrun.h"
#include "picfolder.h"
#include "ui.h"
#include "volumes.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <unistd.h>

namespace vimbrel {

namespace {

void deselect(FileBox* list, const QStringList& names) {
    for (int i = 0; i < list->count(); ++i)
        if (names.contains(list->item(i)->text()))
            list->item(i)->setSelected(false);
}

} // namespace

impimg::impimg(Album& a, WindowHub& hub, PictureLibrary& pictures, QWidget* parent)
    : QDialog(parent), m_a(a), m_hub(hub), m_pictures(pictures) {
    setObjectName(QStringLiteral("impimg"));
    setWindowTitle(QCoreApplication::translate("impimg", "Import Image"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setModal(true);

    frimp = new QGroupBox(QCoreApplication::translate("impimg", "Pictures"), this);
    frimp->setObjectName(QStringLiteral("frimp"));
    drvbox = new DriveBox(frimp);
    drvbox->setObjectName(QStringLiteral("drvbox"));
    drvbox->setPlaces(defaultPlaces(mountedVolumes()));
    dirbox = new DirBox(frimp);
    dirbox->setObjectName(QStringLiteral("dirbox"));
    dirbox->setDisabledFolder(
        [picdir = a.picdir](const QString& folder) { return isPictureFolder(folder, picdir); });
    flebox = new FileBox(frimp);
    flebox->setObjectName(QStringLiteral("flebox"));
    flebox->setPattern(importPattern());
    flebox->setMultiSelect(true);
    dirbox->setMinimumSize(230, 300);
    flebox->setMinimumSize(200, 300);

    pb = new QLabel(this);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setFixedSize(288, 216);
    pb->setAlignment(Qt::AlignCenter);
    pb->setFrameShape(QFrame::StyledPanel);
    pbsize = new QLabel(this);
    pbsize->setObjectName(QStringLiteral("pbsize"));
    pbsize->setAlignment(Qt::AlignCenter);
    ck_del =
        new QCheckBox(QCoreApplication::translate("impimg", "Delete Source After Import?"), this);
    ck_del->setObjectName(QStringLiteral("ck_del"));

    const auto button = [this](const char* name, const QString& caption, const char* art) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        if (art != nullptr) {
            b->setIcon(artworkIcon(QLatin1String(art)));
            b->setIconSize(QSize(22, 22));
        }
        b->setMinimumSize(130, 34);
        // Enter belongs to the lists (opening a folder), never to a button.
        b->setAutoDefault(false);
        return b;
    };
    cb_import =
        button("cb_import", QCoreApplication::translate("impimg", "&Import"), "tool-import");
    cb_import->setEnabled(false);
    cb_memcard =
        button("cb_memcard", QCoreApplication::translate("impimg", "&Memory Card Path"), nullptr);
    cb_memcard->setToolTip(
        QCoreApplication::translate("impimg", "Open this folder whenever pictures are imported"));
    cb_cancel = button("cb_cancel", QCoreApplication::translate("impimg", "&Return"), "return");

    frprog = new QWidget(this);
    frprog->setObjectName(QStringLiteral("frprog"));
    prtext = new QLabel(frprog);
    prtext->setObjectName(QStringLiteral("prtext"));
    prbar = new QProgressBar(frprog);
    prbar->setObjectName(QStringLiteral("prbar"));
    prbar->setTextVisible(false);
    cb_stop = new QPushButton(QCoreApplication::translate("impimg", "Cancel"), frprog);
    cb_stop->setObjectName(QStringLiteral("cb_stop"));
    cb_stop->setAutoDefault(false);
    auto* progress = new QHBoxLayout(frprog);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->addWidget(prtext);
    progress->addWidget(prbar, 1);
    progress->addWidget(cb_stop);
    frprog->hide();

    auto* lists = new QGridLayout(frimp);
    lists->addWidget(drvbox, 0, 0);
    lists->addWidget(dirbox, 1, 0);
    lists->addWidget(flebox, 0, 1, 2, 1);
    lists->setRowStretch(1, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(pb);
    side->addWidget(pbsize);
    side->addSpacing(8);
    side->addWidget(ck_del);
    side->addStretch(1);
    side->addWidget(cb_memcard, 0, Qt::AlignLeft);
    auto* top = new QHBoxLayout;
    top->addWidget(frimp, 1);
    top->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(frprog, 1);
    buttons->addStretch(0);
    buttons->addWidget(cb_import);
    buttons->addWidget(cb_cancel);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(14, 14, 14, 12);
    all->setSpacing(10);
    all->addLayout(top, 1);
    all->addLayout(buttons);

    connectBrowser(drvbox, dirbox, flebox, *a.ui);
    connect(drvbox, &DriveBox::driveChanged, this, &impimg::drvbox_Change);
    connect(dirbox, &DirBox::pathChanged, this, &impimg::dirbox_Change);
    connect(flebox, &FileBox::fileClicked, this, &impimg::flebox_Click);
    connect(cb_memcard, &QPushButton::clicked, this, &impimg::cb_memcard_Click);
    connect(cb_import, &QPushButton::clicked, this, &impimg::cb_import_Click);
    connect(cb_stop, &QPushButton::clicked, this, &impimg::cb_stop_Click);
    connect(cb_cancel, &QPushButton::clicked, this, &impimg::cb_cancel_Click);
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &impimg::stepRun);

    openFirstFolder();
}

impimg::~impimg() = default;

// The program's own folder, where the old design fell back to, is /usr/bin or a build folder
// here and never holds anyone's photos; the home folder is where a user starts looking.
void impimg::openFirstFolder() {
    const QStringList folders = openingFolders(m_a.carddir, mountedVolumes(), QDir::homePath());
    for (const QString& folder : folders) {
        QString error;
        if (dirbox->setPath(folder, &error))
            break;
        m_a.ui->message(QCoreApplication::translate("impimg", "Drive - ERROR"),
                        error + QLatin1Char('\r') + folder, MsgIcon::Critical);
    }
    // setPath() reports a move only; the first folder may be where the list already was.
    dirbox_Change(dirbox->path());
}

struct impimg::Preview {
    PictureLibrary::Measure measure;
    Fit fit;
    QImage image;
};

void impimg::clearPreview() {
    ++m_preview; // a preview still being made is no longer wanted
    m_previewing = false;
    pb->setPixmap(QPixmap());
    pbsize->clear();
}

void impimg::drvbox_Change() {
    clearPreview();
    cb_import->setEnabled(false);
}

void impimg::dirbox_Change(const QString& folder) {
    clearPreview();
    cb_import->setEnabled(false);
    // The album's own pictures are shown but can never be imported again.
    flebox->setEnabled(!isPictureFolder(folder, m_a.picdir));
}

void impimg::flebox_Click() {
    cb_import->setEnabled(true);
    const QStringList selected = flebox->selectedNames();
    if (selected.size() != 1) {
        clearPreview();
        return;
    }
    const QString path = inFolder(flebox->path(), selected.first());
    // Opened without blocking first: a pipe or device named like a picture must not hang the
    // window. The picture library opens by name; a name that is not UTF-8 is read from the
    // open file instead.
    QString error;
    const int fd = openSource(path, &error);
    const auto closeFd = qScopeGuard([fd] {
        if (fd >= 0)
            ::close(fd);
    });
    if (fd < 0) {
        m_a.ui->message(QCoreApplication::translate("impimg", "Load Image Error"), error,
                        MsgIcon::Critical);
        clearPreview();
        cb_import->setEnabled(false);
        return;
    }
    // Measured and drawn on the picture pool: a click never waits for a decode. The task keeps
    // a descriptor of its own.
    clearPreview();
    const int own = ::dup(fd);
    const bool byName = QFile::encodeName(path) == nameBytes(path);
    const QSize box = pb->contentsRect().size();
    const qreal dpr = devicePixelRatioF();
    PictureLibrary* pictures = &m_pictures;
    const quint64 generation = m_preview;
    m_previewing = true;
    QtConcurrent::run(&m_pictures.pool(), [pictures, path, own, byName, box, dpr] {
        const auto closeOwn = qScopeGuard([own] {
            if (own >= 0)
                ::close(own);
        });
        Preview p;
        p.measure =
            own < 0
                ? PictureLibrary::Measure{{},
                                          QCoreApplication::translate("impimg", "File not found")}
            : byName ? measurePicture(*pictures, path)
                     : measureHeader(own);
        if (!p.measure.ok())
            return p;
        // As measured, so a picture too large for the album still previews.
        p.fit = fitPicture(p.measure.size, 'L', box);
        if (!p.fit.draw)
            return p;
        const QSize size = devicePixels(p.fit.rect.size(), dpr);
        p.image = byName ? pictures->thumbnail(path, size, p.fit.angle) : decodeSource(own, size);
        return p;
    }).then(this, [this, generation](const Preview& p) { showPreview(generation, p); });
}

void impimg::showPreview(quint64 generation, const Preview& p) {
    if (generation != m_preview)
        return;
    m_previewing = false;
    if (!p.measure.ok()) {
        if (generation != m_quietPreview)
            m_a.ui->message(QCoreApplication::translate("impimg", "Load Image Error"),
                            p.measure.error, MsgIcon::Critical);
        clearPreview();
        cb_import->setEnabled(false);
        return;
    }
    const qreal dpr = devicePixelRatioF();
    const QSize box = pb->contentsRect().size();
    pb->setPixmap(p.fit.draw && !p.image.isNull() ? framePixmap(box, dpr, p.image, p.fit.rect)
                                                  : emptyFramePixmap(box, dpr));
    pbsize->setText(
        QStringLiteral("%1 x %2").arg(p.measure.size.width()).arg(p.measure.size.height()));
}

void impimg::cb_memcard_Click() {
    const QString path = dirbox->path().trimmed();
    const MsgAnswer answer =
        m_a.ui->message(QCoreApplication::translate("impimg", "Memory Card Path"),
                        QCoreApplication::translate("impimg", "Make \r") + path +
                            QCoreApplication::translate("impimg", "\rThe Memory Card Path"),
                        MsgIcon::Question, MsgButtons::YesNo);
    if (answer == MsgAnswer::Yes) {
        m_a.carddir = path;
        SaveCfg(m_a, -9);
    }
    dirbox->setFocus();
}

void impimg::cb_import_Click() {
    if (m_run)
        return;
    const QStringList names = flebox->selectedNames();
    if (names.isEmpty()) {
        m_a.ui->message(QCoreApplication::translate("impimg", "Import Images"),
                        QCoreApplication::translate("impimg", "Please Select Images"),
                        MsgIcon::Information);
        return;
    }
    if (!capacityAllows(m_a, int(names.size()))) {
        m_a.ui->message(QCoreApplication::translate("impimg", "Import Images - Error"),
                        capacityText(m_a.maxpics), MsgIcon::Critical);
        return;
    }
    m_run = std::make_unique<ImportRun>(m_a, m_hub, m_pictures, flebox->path(), names,
                                        ck_del->isChecked());
    m_quietPreview = m_preview; // the run reports the file itself if it cannot be read
    if (names.size() <= quietRunLimit) {
        const QScopedValueRollback<bool> stepping(m_stepping, true);
        BusyPointer busy(*m_a.ui);
        while (m_run->next()) {
        }
        endRun();
        return;
    }
    showProgress(true);
    stepRun();
}

// Settles every file that is ready, then waits for the next one in the event loop. A box shown
// by a step runs an event loop that may deliver the watcher's signal again: that call returns
// at once, the step going on already settles what is ready.
void impimg::stepRun() {
    if (!m_run || m_stepping)
        return;
    const QScopedValueRollback<bool> stepping(m_stepping, true);
    while (m_run->ready()) {
        const bool more = m_run->next();
        prbar->setValue(m_run->settled());
        prtext->setText(QCoreApplication::translate("impimg", "%1 of %2 copied")
                            .arg(m_run->copied())
                            .arg(m_run->total()));
        if (!more) {
            endRun();
            return;
        }
    }
    m_watcher.setFuture(m_run->readyFuture());
}

void impimg::cb_stop_Click() {
    if (!m_run)
        return;
    m_run->cancel();
    // Inside a step (from one of its boxes) the step ends the run: its next() now says so.
    if (m_stepping)
        return;
    const QScopedValueRollback<bool> stepping(m_stepping, true);
    endRun();
}

void impimg::endRun() {
    m_run->finish();
    const bool complete = m_run->stop() == ImportRun::Stop::None;
    const int copied = m_run->copied();
    const QStringList settled = m_run->copiedNames() + m_run->failedNames();
    const bool listChanged = !m_run->deletedNames().isEmpty();
    m_run.reset();
    showProgress(false);
    if (complete && copied > 0) {
        accept();
        return;
    }
    // The window stays: what is still selected is what was not imported yet.
    QStringList left = flebox->selectedNames();
    left.removeIf([&](const QString& n) { return settled.contains(n); });
    if (listChanged) {
        flebox->refresh();
        for (int i = 0; i < flebox->count(); ++i)
            flebox->item(i)->setSelected(left.contains(flebox->item(i)->text()));
    } else {
        deselect(flebox, settled);
    }
    if (copied == 0)
        cb_import->setEnabled(false);
}

void impimg::showProgress(bool on) {
    if (on) {
        prbar->setRange(0, m_run->total());
        prbar->setValue(0);
        prtext->setText(
            QCoreApplication::translate("impimg", "0 of %1 copied").arg(m_run->total()));
    }
    frprog->setVisible(on);
    for (QWidget* w :
         std::initializer_list<QWidget*>{frimp, ck_del, cb_import, cb_memcard, cb_cancel})
        w->setEnabled(!on);
    if (!on)
        cb_import->setEnabled(true);
}

void impimg::cb_cancel_Click() {
    QDialog::reject();
}

void impimg::reject() {
    // Escape or the window's close button during a run stop the run, not the window.
    if (m_run) {
        cb_stop_Click();
        return;
    }
    cb_cancel_Click();
}

} // namespace vimbrel
