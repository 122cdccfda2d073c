// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The running program: the album, its windows and the start-up that ties them together.

#include "album.h"
#include "editorviews.h"
#include "picturelibrary.h"
#include "printersetup.h"
#include "qtui.h"
#include "windowhub.h"

#include <QPointer>
#include <memory>

namespace vimbrel {

class phpage;
class pbox;
class vimbra;
class WABOUT;

class AppHub : public WindowHub, public EditorPageViews {
public:
    AppHub();
    ~AppHub() override;

    // Start-up: the store's steps, the splash, the hidden windows and the album named on
    // the command line. The splash hands over to the page view (and the chooser) itself.
    void InitApp(const QString& albumArgument);

    Album& album() { return *m_album; }
    phpage* page() { return m_page.get(); }
    vimbra* chooser() { return m_chooser.get(); }
    pbox* photoBox() { return m_box.get(); }

    // AlbumViews: forwarded to the page view (the Photo Box joins later).
    void setAlbumDescLabel(const QString& s) override;
    void SetPage() override;
    void SetTotPg() override;
    void Set_it(int code) override;
    void showSelMark(int pos, bool visible) override;
    void setSelCount(int n) override;
    void setGroupLabels(int pictotal, int frtotal, const QString& dispdesc0) override;
    void LoadFS(int start) override;
    void setPboxScroll(int max, int value) override;
    void hidePboxSelMarks() override;
    void setPboxSelCount(int n) override;

    // WindowHub
    void showPageView() override;
    void DispPage(int p) override;
    void clearPagePosition(int k) override;
    void setPhotoCount(int gcount) override;
    bool photoBoxVisible() const override;
    void setPhotoBoxVisible(bool visible) override;
    void AddToFS(int pos) override;
    void DeletePbox() override;
    void fs_DragDrop(int index) override;
    void showChooser() override;
    void showImport() override;
    int importDropped(const QStringList& paths) override;
    void showSlideShow() override;
    void showMail() override;
    void showPrint() override;
    void printReport() override;
    void chooserExit() override;
    void showAbout(int ticks) override;
    void quit() override;
    void showGroupEditor() override;
    void showDescEditor() override;
    // EditorPageViews
    void blankPageView() override;
    void blankPageTotals() override;
    void showNextPageArrow(bool visible) override;

private:
    void splashEnded();

    QtUi m_ui;
    QtPrinterSetup m_printers;
    std::unique_ptr<Album> m_album;
    std::unique_ptr<PictureLibrary> m_pictures;
    std::unique_ptr<phpage> m_page;
    std::unique_ptr<vimbra> m_chooser;
    std::unique_ptr<pbox> m_box;
    bool m_boxPlaced = false;
    QPointer<WABOUT> m_about;
};

} // namespace vimbrel
