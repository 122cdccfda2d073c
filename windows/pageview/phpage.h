#pragma once
// The page view: the main window of an open album, shown as an open book.

#include "album.h"
#include "windowhub.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace vimbrel {

class phpage : public QWidget {
    Q_OBJECT
public:
    phpage(Album& a, WindowHub& hub, QWidget* parent = nullptr);

    QLabel* phpgname;
    QLabel* dstat;
    QPushButton* it_command; // it(2)
    QPushButton* it_exit;    // it(3)

    void SetPage();
    void SetTotPg();
    void Set_it(int code);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    Album& m_a;
    WindowHub& m_hub;
};

} // namespace vimbrel
