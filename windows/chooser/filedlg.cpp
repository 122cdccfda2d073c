// SPDX-License-Identifier: GPL-3.0-or-later
#include "filedlg.h"

#include <QCoreApplication>

#include "artwork.h"
#include "textfield.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace vimbrel {

filedlg::filedlg(Album& a, DlgMode mode, QWidget* parent) : QDialog(parent), m_a(a), m_mode(mode) {
    setObjectName(QStringLiteral("filedlg"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));

    Label3 = new QLabel(QCoreApplication::translate("filedlg", "Name:"), this);
    iname = new QLineEdit(this);
    iname->setObjectName(QStringLiteral("iname"));
    iname->setMaxLength(maxNameLength);
    iname->installEventFilter(this);
    // Pasted text obeys the same rule as typed keys.
    iname->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z0-9+_-]{0,8}")), iname));
    Label3->setBuddy(iname);

    Label4 = new QLabel(QCoreApplication::translate("filedlg", "Description:"), this);
    idesc = new QLineEdit(this);
    idesc->setObjectName(QStringLiteral("idesc"));
    idesc->setMaxLength(maxDescLength);
    Label4->setBuddy(idesc);
    QLabel* descCount = limitField(idesc, this);

    // The rule the name is held to, said before "Name is Invalid" has to.
    namerule = new QLabel(
        QCoreApplication::translate(
            "filedlg", "Up to %1 letters or digits (also + - _), no blanks: it names the album "
                       "file and its picture folder.")
            .arg(maxNameLength),
        this);
    namerule->setObjectName(QStringLiteral("namerule"));
    namerule->setWordWrap(true);

    Label2 = new QLabel(QCoreApplication::translate("filedlg", "Album Path"), this);
    drvbox1 = new DriveBox(this);
    drvbox1->setObjectName(QStringLiteral("drvbox1"));
    drvbox1->setPlaces(defaultPlaces(mountedVolumes()));
    dirbox1 = new DirBox(this);
    dirbox1->setObjectName(QStringLiteral("dirbox1"));
    flebox1 = new FileBox(this);
    flebox1->setObjectName(QStringLiteral("flebox1"));
    flebox1->setPattern(QStringLiteral("*.vmb"));
    connectBrowser(drvbox1, dirbox1, flebox1, *a.ui);

    cb_ok = new QPushButton(QCoreApplication::translate("filedlg", "Create &Album"), this);
    cb_ok->setObjectName(QStringLiteral("cb_ok"));
    cb_ok->setIcon(artworkIcon(QStringLiteral("save")));
    cb_ok->setDefault(true);
    cb_cancel = new QPushButton(QCoreApplication::translate("filedlg", "&Cancel"), this);
    cb_cancel->setObjectName(QStringLiteral("cb_cancel"));
    cb_cancel->setIcon(artworkIcon(QStringLiteral("return")));
    for (QPushButton* b : {cb_ok, cb_cancel}) {
        b->setIconSize(QSize(22, 22));
        b->setMinimumSize(140, 34);
    }

    auto* fields = new QGridLayout;
    fields->addWidget(Label3, 0, 0);
    fields->addWidget(iname, 0, 1);
    fields->addWidget(namerule, 1, 1, 1, 2);
    fields->addWidget(Label4, 2, 0);
    fields->addWidget(idesc, 2, 1);
    fields->addWidget(descCount, 2, 2);
    fields->setColumnStretch(1, 1);
    auto* lists = new QGridLayout;
    lists->addWidget(Label2, 0, 0, 1, 2);
    lists->addWidget(drvbox1, 1, 0);
    lists->addWidget(dirbox1, 2, 0);
    lists->addWidget(flebox1, 1, 1, 2, 1);
    lists->setRowStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cb_ok);
    buttons->addWidget(cb_cancel);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(16, 16, 16, 14);
    all->setSpacing(12);
    all->addLayout(fields);
    all->addLayout(lists, 1);
    all->addLayout(buttons);
    dirbox1->setMinimumSize(240, 220);
    flebox1->setMinimumSize(200, 220);

    connect(cb_ok, &QPushButton::clicked, this, &filedlg::cb_ok_Click);
    connect(cb_cancel, &QPushButton::clicked, this, &filedlg::cb_cancel_Click);
    connect(flebox1, &FileBox::fileClicked, this, &filedlg::flebox1_Click);
    connect(flebox1, &FileBox::fileDoubleClicked, this, &filedlg::flebox1_DblClick);

    switch (mode) {
    case DlgMode::Open:
        setWindowTitle(QCoreApplication::translate("filedlg", "Open an Album"));
        cb_ok->setText(QCoreApplication::translate("filedlg", "Open &Album"));
        iname->setReadOnly(true);
        // Here the box only shows the picked file, which may be named beyond the limit.
        iname->setMaxLength(32767);
        // Grey and black together: the grey alone under a dark palette's white text is unreadable.
        iname->setStyleSheet(QStringLiteral("background: rgb(192, 192, 192); color: black;"));
        Label4->hide();
        idesc->hide();
        descCount->hide();
        namerule->hide(); // the name is picked, not made
        dirbox1->setPath(QDir::homePath());
        break;
    case DlgMode::New:
        setWindowTitle(QCoreApplication::translate("filedlg", "Create a New Album"));
        flebox1->hide();
        dirbox1->setPath(QDir::homePath());
        break;
    case DlgMode::Rename:
        m_rename = renameSource(a);
        setWindowTitle(QCoreApplication::translate("filedlg", "Rename Album '") + m_rename.oldname +
                       QLatin1Char('\''));
        cb_ok->setText(QCoreApplication::translate("filedlg", "Rename &Album"));
        Label4->hide();
        idesc->hide();
        descCount->hide();
        dirbox1->setPath(m_rename.olddir);
        flebox1->setPattern(m_rename.oldfile);
        drvbox1->setEnabled(false);
        dirbox1->setEnabled(false);
        flebox1->setEnabled(false);
        // A name the box would cut is not offered: the user types the new one.
        if (nameFits(m_rename.oldname))
            iname->setText(m_rename.oldname);
        iname->selectAll();
        break;
    }
    drvbox1->setDriveFor(dirbox1->path());
    flebox1->setPath(dirbox1->path());
}

bool filedlg::eventFilter(QObject* o, QEvent* e) {
    if (o == iname) {
        if (e->type() == QEvent::FocusIn && m_mode == DlgMode::Open) {
            // In Open mode the name is picked from the list, not typed.
            cb_ok->setFocus();
            return false;
        }
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            const QString t = k->text();
            // Editing and moving keys carry no text or a control character; they pass.
            if (!t.isEmpty() && t.at(0).isPrint() && !nameKeyAccepted(t.at(0)))
                return true;
        }
    }
    return QDialog::eventFilter(o, e);
}

void filedlg::flebox1_Click(const QString& name) {
    const QString stem = name.left(name.size() - 4);
    if (m_mode == DlgMode::Open) {
        m_picked = name;
        m_pickedIn = flebox1->path();
        iname->setText(stem);
    } else if (m_mode == DlgMode::Rename && nameFits(stem)) {
        // A file the box would cut never becomes a name, lest another file be renamed.
        iname->setText(stem);
    }
}

void filedlg::flebox1_DblClick(const QString& name) {
    if (m_mode != DlgMode::Open)
        return;
    flebox1_Click(name);
    cb_ok_Click();
}

void filedlg::cb_ok_Click() {
    DlgOutcome r;
    if (m_mode == DlgMode::Rename)
        r = confirmRename(m_a, windowTitle(), iname->text(), m_rename);
    else if (m_mode == DlgMode::Open)
        // The folder the file was clicked in: the user may have looked elsewhere since.
        r = confirmOpen(m_a, windowTitle(), m_picked, m_pickedIn);
    else
        r = confirmNewOrOpen(m_a, m_mode, windowTitle(), iname->text(), idesc->text(),
                             dirbox1->path());
    if (r.close) {
        accept();
        return;
    }
    if (r.focus == DlgOutcome::Name)
        iname->setFocus();
    else if (r.focus == DlgOutcome::Desc)
        idesc->setFocus();
}

void filedlg::cb_cancel_Click() {
    m_a.dlgmode = QStringLiteral("None");
    QDialog::reject();
}

void filedlg::reject() {
    cb_cancel_Click();
}

} // namespace vimbrel
