// SPDX-License-Identifier: GPL-3.0-or-later
#include "phdesc.h"

#include <QCoreApplication>

#include "artwork.h"
#include "descrules.h"
#include "editorwidgets.h"
#include "textfield.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace vimbrel {

namespace {

QString colour(QRgb c) {
    return QColor::fromRgb(c).name();
}

} // namespace

phdesc::phdesc(Album& a, WindowHub& hub, QWidget* parent) : QDialog(parent), m_a(a), m_hub(hub) {
    setObjectName(QStringLiteral("phdesc"));
    setWindowTitle(QCoreApplication::translate("phdesc", "Change Descriptions"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    setModal(true);
    setStyleSheet(
        QStringLiteral("#phdesc { background: %1; } QLabel { color: %2; }"
                       "QGroupBox { color: %3; font-weight: bold; }"
                       "QLineEdit { background: %4; border: 1px solid #c4b193; border-radius: 3px;"
                       " padding: 2px 4px; color: %5; }"
                       "QLineEdit:read-only { background: %1; }")
            .arg(colour(editorcolours::background), colour(editorcolours::label),
                 colour(editorcolours::brown), colour(editorcolours::well),
                 colour(editorcolours::ink)) +
        editorButtonStyle());

    const auto box = [this](const char* name, int width, QWidget* host) {
        auto* e = new QLineEdit(host);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(width);
        // Wide enough for the field's characters.
        e->setMinimumWidth(e->fontMetrics().averageCharWidth() * width + 16);
        e->installEventFilter(this);
        return e;
    };
    adesc = box("adesc", 40, this);
    fr_pic = new QGroupBox(this);
    fr_pic->setObjectName(QStringLiteral("fr_pic"));
    psdesc = box("psdesc", 20, fr_pic);
    pldesc = box("pldesc", 50, fr_pic);

    const auto button = [this](const char* name, const QString& text, const char* art) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setIcon(artworkIcon(QLatin1String(art)));
        b->setIconSize(QSize(22, 22));
        b->setMinimumSize(150, 36);
        b->setAutoDefault(false);
        return b;
    };
    cb_ok = button("cb_ok", QCoreApplication::translate("phdesc", "&Accept Changes"), "save");
    cb_cancel =
        button("cb_cancel", QCoreApplication::translate("phdesc", "&Dont Change"), "return");
    connect(cb_ok, &QPushButton::clicked, this, &phdesc::cb_ok_Click);
    connect(cb_cancel, &QPushButton::clicked, this, &phdesc::cb_cancel_Click);

    auto* photo = new QVBoxLayout(fr_pic);
    photo->setSpacing(4);
    photo->addWidget(
        new QLabel(QCoreApplication::translate("phdesc", "Photo- Short Description:"), fr_pic));
    // Each field with its counter on the right.
    const auto counted = [](QLineEdit* e, QWidget* host) {
        auto* row = new QHBoxLayout;
        row->addWidget(e);
        row->addWidget(limitField(e, host));
        row->addStretch(1);
        return row;
    };
    photo->addLayout(counted(psdesc, fr_pic));
    photo->addSpacing(6);
    photo->addWidget(
        new QLabel(QCoreApplication::translate("phdesc", "Photo- Long Description:"), fr_pic));
    photo->addLayout(counted(pldesc, fr_pic));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cb_ok);
    buttons->addWidget(cb_cancel);
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(16, 14, 16, 12);
    all->setSpacing(6);
    all->addWidget(new QLabel(QCoreApplication::translate("phdesc", "ALbum Description:"), this));
    all->addLayout(counted(adesc, this));
    all->addSpacing(10);
    all->addWidget(fr_pic);
    all->addSpacing(8);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    // Opening.
    adesc->setText(a.albdesc.trimmed());
    dpic = selectedPhoto(a);
    if (dpic >= 1) {
        const PicRec& p = a.pics[dpic];
        fr_pic->setTitle(p.pfile.trimmed());
        psdesc->setText(p.psdesc.trimmed());
        pldesc->setText(p.pldesc.trimmed());
    } else {
        fr_pic->setTitle(QCoreApplication::translate("phdesc", "No Photo Selected"));
    }
    if (a.canwrite == 'N') {
        cb_ok->setEnabled(false);
        for (QLineEdit* e : {adesc, psdesc, pldesc})
            e->setReadOnly(true);
        cb_cancel->setFocus();
    } else {
        for (QLineEdit* e : {psdesc, pldesc})
            e->setReadOnly(dpic < 1);
        adesc->setFocus();
    }
}

bool phdesc::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::FocusIn) {
        // Deferred: moving the focus inside a focus change confuses the change under way.
        if (m_a.canwrite == 'N' && (o == adesc || o == psdesc || o == pldesc))
            QTimer::singleShot(0, cb_cancel, [this] { cb_cancel->setFocus(); });
        else if (dpic < 1 && (o == psdesc || o == pldesc))
            QTimer::singleShot(0, cb_ok, [this] { cb_ok->setFocus(); });
    }
    return QDialog::eventFilter(o, e);
}

void phdesc::cb_ok_Click() {
    if (m_a.canwrite != 'Y')
        return;
    for (QLineEdit* e : {adesc, psdesc, pldesc})
        e->setText(e->text().trimmed());
    const DescTexts texts{adesc->text(), psdesc->text(), pldesc->text()};
    if (acceptDescriptions(m_a, m_hub, dpic, texts) == AcceptResult::BlankAlbumDesc) {
        adesc->setFocus();
        return;
    }
    accept();
}

void phdesc::cb_cancel_Click() {
    reject();
}

} // namespace vimbrel
