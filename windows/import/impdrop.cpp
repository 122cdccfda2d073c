// SPDX-License-Identifier: GPL-3.0-or-later
#include "impdrop.h"

#include <QCoreApplication>

#include "artwork.h"
#include "droprules.h"
#include "impimg.h"
#include "importrules.h"
#include "importrun.h"
#include "ui.h"

#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QTimer>

namespace vimbrel {

int importDrop(Album& a, WindowHub& hub, PictureLibrary& pictures, const QStringList& paths,
               QWidget* parent) {
    if (a.canwrite != 'Y' || paths.isEmpty())
        return 0;
    const PictureFolder own(a.picdir);
    DropScan scan = scanDrop(paths, own, false);
    if (scan.subfolders && a.ui->message(QCoreApplication::translate("impimg", "Import Images"),
                                         QCoreApplication::translate(
                                             "impimg", "Also Import the Pictures in Sub-Folders?"),
                                         MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
        scan = scanDrop(paths, own, true);
    if (scan.files.isEmpty()) {
        a.ui->message(QCoreApplication::translate("impimg", "Import Images"),
                      QCoreApplication::translate("impimg", "No Pictures to Import"),
                      MsgIcon::Information);
        return 0;
    }
    if (!capacityAllows(a, int(scan.files.size()))) {
        a.ui->message(QCoreApplication::translate("impimg", "Import Images - Error"),
                      capacityText(a.maxpics), MsgIcon::Critical);
        return 0;
    }
    // The files are the user's, wherever they lie: a drop only ever copies them.
    ImportRun run(a, hub, pictures, QString(), scan.files, false);
    if (scan.files.size() <= impimg::quietRunLimit) {
        BusyPointer busy(*a.ui);
        while (run.next()) {
        }
    } else {
        impdrop w(run, parent);
        w.exec();
    }
    run.finish();
    return run.copied();
}

impdrop::impdrop(ImportRun& run, QWidget* parent) : QDialog(parent), m_run(run) {
    setObjectName(QStringLiteral("impdrop"));
    setWindowTitle(QCoreApplication::translate("impimg", "Import Image"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setModal(true);
    prtext = new QLabel(this);
    prtext->setObjectName(QStringLiteral("prtext"));
    prbar = new QProgressBar(this);
    prbar->setObjectName(QStringLiteral("prbar"));
    prbar->setTextVisible(false);
    prbar->setRange(0, run.total());
    prbar->setMinimumWidth(240);
    cb_stop = new QPushButton(QCoreApplication::translate("impimg", "Cancel"), this);
    cb_stop->setObjectName(QStringLiteral("cb_stop"));
    cb_stop->setAutoDefault(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 14);
    row->addWidget(prtext);
    row->addWidget(prbar, 1);
    row->addWidget(cb_stop);
    showCount();
    connect(cb_stop, &QPushButton::clicked, this, &impdrop::cb_stop_Click);
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &impdrop::stepRun);
    // Started from the window's own event loop, once exec() runs it.
    QTimer::singleShot(0, this, &impdrop::stepRun);
}

void impdrop::showCount() {
    prbar->setValue(m_run.settled());
    prtext->setText(QCoreApplication::translate("impimg", "%1 of %2 copied")
                        .arg(m_run.copied())
                        .arg(m_run.total()));
}

// As the import window's: settles what is ready, then waits in the event loop.
void impdrop::stepRun() {
    if (m_stepping || !isVisible())
        return;
    const QScopedValueRollback<bool> stepping(m_stepping, true);
    while (m_run.ready()) {
        const bool more = m_run.next();
        showCount();
        if (!more) {
            accept();
            return;
        }
    }
    m_watcher.setFuture(m_run.readyFuture());
}

void impdrop::cb_stop_Click() {
    m_run.cancel();
    // Inside a step the step ends the window: its next() now says the run is over.
    if (!m_stepping)
        QDialog::reject();
}

void impdrop::reject() {
    cb_stop_Click();
}

} // namespace vimbrel
