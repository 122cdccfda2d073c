// SPDX-License-Identifier: GPL-3.0-or-later
#include "vimbra.h"

#include <QCoreApplication>

#include "albumfile.h"
#include "artwork.h"
#include "chooserrules.h"
#include "config.h"
#include "filedlg.h"
#include "picfiles.h"
#include "ui.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace vimbrel {

vimbra::vimbra(Album& a, WindowHub& hub, QWidget* parent) : QDialog(parent), m_a(a), m_hub(hub) {
    setObjectName(QStringLiteral("vimbra"));
    setWindowTitle(QCoreApplication::translate("vimbra", "Vimbrel v 01.00"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setModal(true);

    cfgnames = new QTreeView(this);
    cfgnames->setObjectName(QStringLiteral("cfgnames"));
    cfgnames->setModel(&a.cfglist);
    cfgnames->setRootIsDecorated(false);
    cfgnames->setUniformRowHeights(true);
    cfgnames->setAlternatingRowColors(true);
    cfgnames->setSelectionMode(QAbstractItemView::SingleSelection);
    cfgnames->setSelectionBehavior(QAbstractItemView::SelectRows);
    cfgnames->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cfgnames->header()->setStretchLastSection(true);
    cfgnames->header()->resizeSection(0, 170);
    cfgnames->setMinimumSize(420, 260);

    const auto button = [this](const char* name, const QString& caption, const char* art) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(artworkIcon(QLatin1String(art)));
        b->setIconSize(QSize(24, 24));
        b->setMinimumSize(130, 38);
        b->setAutoDefault(false);
        return b;
    };
    cb_open = button("cb_open", QCoreApplication::translate("vimbra", "&Open"), "open");
    cb_new = button("cb_new", QCoreApplication::translate("vimbra", "&New"), "new");
    cb_save = button("cb_save", QCoreApplication::translate("vimbra", "&Save"), "save");
    cb_saveas = button("cb_saveas", QCoreApplication::translate("vimbra", "Rena&me"), "rename");
    cb_cancel = button("cb_cancel", QCoreApplication::translate("vimbra", "&Return"), "return");
    cb_exit = button("cb_exit", QCoreApplication::translate("vimbra", "&Exit"), "exit");
    cb_open->setDefault(true);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(8);
    for (QPushButton* b : {cb_open, cb_new, cb_save, cb_saveas})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cb_cancel);
    buttons->addWidget(cb_exit);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 14);
    row->setSpacing(14);
    row->addWidget(cfgnames, 1);
    row->addLayout(buttons);

    connect(cb_open, &QPushButton::clicked, this, &vimbra::cb_open_Click);
    connect(cb_new, &QPushButton::clicked, this, &vimbra::cb_new_Click);
    connect(cb_save, &QPushButton::clicked, this, &vimbra::cb_save_Click);
    connect(cb_saveas, &QPushButton::clicked, this, &vimbra::cb_saveas_Click);
    connect(cb_cancel, &QPushButton::clicked, this, &vimbra::cb_cancel_Click);
    connect(cb_exit, &QPushButton::clicked, this, &vimbra::cb_exit_Click);
    connect(cfgnames, &QTreeView::clicked, this, [this] { SetCB(); });
    connect(cfgnames, &QTreeView::doubleClicked, this, &vimbra::cb_open_Click);
    connect(cfgnames->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { SetCB(); });
    connect(&a.cfglist, &AlbumList::rowSelected, this, &vimbra::selectRow);

    showFileDlg = [this](DlgMode mode) {
        filedlg dlg(m_a, mode, this);
        dlg.exec();
    };
    SetCB();
}

void vimbra::selectRow(int row) {
    if (row < 0) {
        cfgnames->clearSelection();
        cfgnames->setCurrentIndex({});
    } else {
        cfgnames->setCurrentIndex(m_a.cfglist.index(row, 0));
    }
    SetCB();
}

int vimbra::selectedRow() const {
    const QModelIndex i = cfgnames->currentIndex();
    return i.isValid() && cfgnames->selectionModel()->isRowSelected(i.row(), {}) ? i.row() : -1;
}

QString vimbra::selectedName() const {
    const int row = selectedRow();
    return row < 0 ? QString() : m_a.cfglist.name(row);
}

void vimbra::leaveForPageView() {
    hide();
    m_hub.showPageView();
}

void vimbra::cb_open_Click() {
    if (!savePrompt(
            m_a, QCoreApplication::translate("vimbra", "Save changes before Opening a new File?"),
            QCoreApplication::translate("vimbra", "Open")))
        return;
    const QString sel = selectedName().trimmed();
    if (!sel.isEmpty() && !isOtherRow(sel)) {
        const int row = selectedRow();
        m_a.albtitle = sel;
        m_a.albfile = m_a.cfglist.file(row).trimmed();
        ReadAlbum(m_a);
    } else {
        // The dialog reads the album itself; a second read would only repeat its messages.
        m_a.dlgmode = QCoreApplication::translate("vimbra", "Open");
        showFileDlg(DlgMode::Open);
        if (m_a.dlgmode == QStringLiteral("None")) {
            SetCB();
            return;
        }
    }
    SetCB();
    if (m_a.albfile.isEmpty())
        return;
    leaveForPageView();
    m_a.curpage = IndexPage::first;
    m_hub.SetPage();
}

void vimbra::cb_new_Click() {
    if (!savePrompt(m_a, QCoreApplication::translate("vimbra", "Save Changes"),
                    QCoreApplication::translate("vimbra", "Save Changes")))
        return;
    const QString leftFile = m_a.albfile;
    const QString leftTitle = m_a.albtitle;
    ClearAlbum(m_a);
    m_a.pgsize = m_a.szlarge;
    m_a.albfile.clear();
    m_a.albtitle.clear();
    m_a.alblock.release();
    SetCB();
    m_a.dlgmode = QStringLiteral("New");
    showFileDlg(DlgMode::New);
    if (m_a.dlgmode == QStringLiteral("None")) {
        // Cancel goes back to the album that was open, as it was last saved, rather than
        // leaving an empty unnamed one behind Return.
        if (!leftFile.isEmpty()) {
            m_a.albfile = leftFile;
            m_a.albtitle = leftTitle;
            ReadAlbum(m_a);
            SetCB();
            if (!m_a.albfile.isEmpty()) {
                leaveForPageView();
                m_a.curpage = IndexPage::first;
                m_hub.SetPage();
            }
        }
        return;
    }
    m_a.canwrite = 'Y';
    SetCB();
    leaveForPageView();
    m_hub.SetPage();
    m_hub.LoadFS(LoadFSCode::fromStart);
}

void vimbra::cb_save_Click() {
    WriteAlbum(m_a);
}

void vimbra::cb_saveas_Click() {
    m_a.dlgmode = QStringLiteral("Rename");
    showFileDlg(DlgMode::Rename);
    if (m_a.dlgmode == QStringLiteral("None"))
        SetCB();
}

void vimbra::cb_cancel_Click() {
    leaveForPageView();
}

void vimbra::cb_exit_Click() {
    SaveCfg(m_a, -9);
    if (!savePrompt(m_a, QCoreApplication::translate("vimbra", "Save changes before Quiting?"),
                    QCoreApplication::translate("vimbra", "Exit")))
        return;
    removeNewFiles(m_a);
    emptyMailDir(m_a.maildir);
    m_a.alblock.release();
    m_hub.quit();
}

void vimbra::SetCB() {
    const ChooserButtons b = chooserButtons(m_a, selectedRow());
    cb_cancel->setEnabled(b.cbReturn);
    cb_save->setEnabled(b.cbSave);
    cb_saveas->setEnabled(b.cbRename);
    m_hub.Set_it(SetItCode::reset);
}

void vimbra::DelListItem() {
    const QModelIndex i = cfgnames->currentIndex();
    if (!i.isValid())
        return;
    const QString name = m_a.cfglist.name(i.row());
    if (m_a.ui->message(QCoreApplication::translate("vimbra", "Delete From List"),
                        QCoreApplication::translate("vimbra", "Delete '") + name +
                            QCoreApplication::translate("vimbra", "' From The Album List"),
                        MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes)
        SaveCfg(m_a, i.row());
}

void vimbra::Form_Activate() {
    const int row = m_a.albfile.isEmpty() ? -1 : m_a.cfglist.rowOf(m_a.albfile);
    if (row >= 0)
        cfgnames->setCurrentIndex(m_a.cfglist.index(row, 0));
    SetCB();
}

void vimbra::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Delete) {
        DelListItem();
        return;
    }
    QDialog::keyReleaseEvent(e);
}

bool vimbra::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    return QDialog::event(e);
}

void vimbra::reject() {
    // Escape goes back to the open album, never out of the program.
    if (!m_a.albfile.isEmpty())
        cb_cancel_Click();
}

void vimbra::closeEvent(QCloseEvent* e) {
    // The window's close button returns to the album when one is open; leaving the program
    // is Exit's job, which asks to save first.
    e->ignore();
    if (!m_a.albfile.isEmpty())
        cb_cancel_Click();
    else
        cb_exit_Click();
}

} // namespace vimbrel
