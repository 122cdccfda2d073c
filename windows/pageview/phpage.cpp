#include "phpage.h"

#include "artwork.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vimbrel {

phpage::phpage(Album& a, WindowHub& hub, QWidget* parent) : QWidget(parent), m_a(a), m_hub(hub) {
    setObjectName(QStringLiteral("phpage"));
    setWindowTitle(QStringLiteral("Vimbrel v 01.00"));
    setWindowIcon(artworkIcon(QStringLiteral("vimbrel")));
    resize(860, 600);

    phpgname = new QLabel(this);
    phpgname->setAlignment(Qt::AlignCenter);
    phpgname->setFont(QFont(QStringLiteral("Liberation Sans"), 16));
    dstat = new QLabel(this);

    it_command = new QPushButton(QStringLiteral("Command"), this);
    it_command->setIcon(artworkIcon(QStringLiteral("open")));
    it_exit = new QPushButton(QStringLiteral("Exit Vimbrel"), this);
    it_exit->setIcon(artworkIcon(QStringLiteral("exit")));
    connect(it_command, &QPushButton::clicked, this, [this] {
        SetAllSel(m_a, -1);
        m_hub.showChooser();
    });
    connect(it_exit, &QPushButton::clicked, this, [this] { m_hub.chooserExit(); });

    auto* tools = new QHBoxLayout;
    tools->addWidget(it_command);
    tools->addWidget(it_exit);
    tools->addStretch(1);
    tools->addWidget(dstat);
    auto* all = new QVBoxLayout(this);
    all->addWidget(phpgname, 1);
    all->addLayout(tools);
}

void phpage::SetPage() {
    phpgname->setText(m_a.albdesc.trimmed());
}
void phpage::SetTotPg() {}
void phpage::Set_it(int) {}

void phpage::closeEvent(QCloseEvent* e) {
    // Closing the main window is the same as Exit: it asks to save first.
    e->ignore();
    m_hub.chooserExit();
}

} // namespace vimbrel
