// SPDX-License-Identifier: GPL-3.0-or-later
#include "wabout.h"

#include <QCoreApplication>

#include "artwork.h"

#include <QDate>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vimbrel {

WABOUT::WABOUT(Album& a, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_a(a) {
    setObjectName(QStringLiteral("WABOUT"));
    setWindowTitle(QCoreApplication::translate("wabout", "About Vimbrel"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("#WABOUT { background: #fbf6ec; border: 1px solid #8a6a4a; }"));

    topart = new QLabel(this);
    topart->setAlignment(Qt::AlignCenter);
    const QSize art(360, 200);
    topart->setPixmap(artworkPixmap(QStringLiteral("topart"), art, devicePixelRatioF()));
    topart->setMinimumSize(art);

    alit1 = new QLabel(QStringLiteral("Vimbrel"), this);
    QFont title(QStringLiteral("Liberation Sans"), 26, QFont::Bold);
    alit1->setFont(title);
    alit1->setAlignment(Qt::AlignCenter);
    alit1->setStyleSheet(QStringLiteral("color: #5a3b22;"));

    alit2 =
        new QLabel(QCoreApplication::translate(
                       "wabout", "Photo albums for your desktop  \u00b7  Version 01.00  \u00b7  "
                                 "\u00a9 %1 The Vimbrel developers")
                       .arg(QDate::currentDate().year()),
                   this);
    alit2->setFont(QFont(QStringLiteral("Liberation Sans"), 9));
    alit2->setAlignment(Qt::AlignCenter);
    alit2->setStyleSheet(QStringLiteral("color: #6b5a48;"));

    ldname = new QLabel(this);
    ldname->setFont(QFont(QStringLiteral("Liberation Sans"), 9, QFont::DemiBold));
    ldname->setAlignment(Qt::AlignCenter);
    ldname->setStyleSheet(QStringLiteral("color: #3d6b3a;"));
    ldname->setMinimumHeight(18);
    // A long album name must not widen the splash off the screen's centre: it is shortened.
    ldname->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(24, 20, 24, 14);
    box->setSpacing(8);
    box->addWidget(topart);
    box->addWidget(alit1);
    box->addWidget(alit2);
    box->addWidget(ldname);

    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &WABOUT::Timer1_Timer);
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void WABOUT::start(int ticks) {
    m_a.abouttick = static_cast<Integer>(ticks);
    Timer1.start();
}

void WABOUT::showLoading(const QString& albtitle) {
    const QString lead = QCoreApplication::translate("wabout", "Loading:    ");
    const QFontMetrics fm = ldname->fontMetrics();
    const int room = ldname->contentsRect().width() - fm.horizontalAdvance(lead);
    ldname->setText(lead + fm.elidedText(albtitle, Qt::ElideMiddle, std::max(room, 0)));
    ldname->repaint();
}

void WABOUT::Timer1_Timer() {
    if (--m_a.abouttick != 0)
        return;
    Timer1.stop();
    close();
    emit countdownEnded();
}

} // namespace vimbrel
