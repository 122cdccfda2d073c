// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print window: prints the selected photos of the current group as photo prints in one of
// six layouts, or copies of a single photo. Each page is composed as a picture of the paper at
// 300 dots per inch, shown as a preview and sent to the printer; Cancel stops between cells.
//
//   phprint w(album, pictures, printers, pageView);
//   w.exec();
//
// The window never changes the album; it overwrites the scratch list wpics. The arithmetic lives
// in printrules.h.

#include "album.h"
#include "cellpictures.h"
#include "picturelibrary.h"
#include "printersetup.h"
#include "printrules.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace vimbrel {

// imgdisp: the last composed page, scaled down, on a grey desk.
class PagePreview : public QWidget {
public:
    explicit PagePreview(QWidget* parent);
    void setPage(const QImage& page);
    const QImage& page() const { return m_page; }
    QSize sizeHint() const override { return {300, 380}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    QImage m_page;
    QImage m_shown;
};

class phprint : public QDialog {
    Q_OBJECT
public:
    phprint(Album& a, PictureLibrary& pictures, PrinterSetup& printers, QWidget* parent = nullptr);

    QFrame* frscr;
    QGroupBox* frlayout;
    std::array<QToolButton*, layoutCount> frmtype{};
    QFrame* selfrm;
    QLabel* cplit;
    QLineEdit* prtcp;
    QLabel* cplit2;
    QLabel* prstat;
    PagePreview* imgdisp;
    QPushButton* cb_print;
    QPushButton* cb_printset;
    QPushButton* cb_cancelprint;
    QPushButton* cb_cancel;
    QImage pb;     // the page being composed
    QImage pbload; // one cell

    void frmtype_Click(int index);
    void SetPic(int slot);
    void cb_printset_Click();
    void cb_print_Click();
    void cb_cancelprint_Click();
    void cb_cancel_Click();

    int nprint() const { return m_nprint; }
    int layout() const { return m_layout; }
    int pages() const { return m_pages; }
    int maxcopies() const { return m_maxcopies; }
    const PageGeometry& geometry() const { return m_geo; }
    bool printing() const { return m_printing; }
    // Called with each composed page just before it is sent.
    std::function<void(int page, const QImage& composed)> onPage;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void reject() override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    bool prtcp_KeyPress(QKeyEvent* e);
    void placeSelFrame();
    // The printer dialog; false when cancelled.
    bool offerPrinterSetup();
    void setIdle(bool idle);
    // Lets the window process pending events; true when the job is to stop.
    bool yieldToEvents();
    bool waitForEvents();
    void runPages();
    // Where picture `slot` goes in the cell, and what to draw there; nothing for an empty slot.
    std::optional<CellPlacement> placementOf(int slot, CellPicture* picture) const;
    QImage layoutSketch() const;

    Album& m_a;
    PictureLibrary& m_pictures;
    PrinterSetup& m_printers;
    int m_nprint = 0;
    int m_layout = openingLayout;
    int m_pages = 0;
    int m_maxcopies = 6;
    int m_prtcopies = 1;
    char m_prtcancel = 'n';
    bool m_printing = false;
    PageGeometry m_geo;
    std::unique_ptr<CellPictures> m_cells; // while a job runs
};

} // namespace vimbrel
