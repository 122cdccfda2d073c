// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own help window, showing the HTML help document vimbra.hlp.
//
//   vimbrel::showHelp(vimbrel::findHelpFile());            // at its contents
//   vimbrel::showHelp(path, QStringLiteral("import"), w);  // at another section
//
// There is one help window at a time: showHelp() opens it, or brings the open one to the front
// and moves it to the asked section. It is not modal and deletes itself when closed. A missing
// help file gives a short explanation in the window instead of a document.

#include <QPointer>
#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace vimbrel {

// The help document of the running program: vimbra.hlp beside the executable (the build
// folder), else ../share/vimbrel/vimbra.hlp relative to it (an installed program in bin/).
// "" when there is none.
QString findHelpFile();
// The same search starting from the folder `programDir` instead of the executable's.
QString findHelpFile(const QString& programDir);

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the document `path` scrolled to `anchor` (a name in the document; "" = its top).
    // An empty or unreadable path shows the missing-file explanation.
    void showDocument(const QString& path, const QString& anchor);

    QTextBrowser* browser() const { return m_browser; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* forwardButton() const { return m_forward; }
    QPushButton* contentsButton() const { return m_contents; }
    // The file shown, "" while the missing-file explanation is shown.
    QString documentPath() const { return m_path; }

    // The help window that showHelp() opened and that is still open, or null.
    static HelpWindow* current();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void showMissing(const QString& path);
    void goToContents();

    QTextBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_forward;
    QPushButton* m_contents;
    QString m_path;

    friend void showHelp(const QString&, const QString&, QWidget*);
    static QPointer<HelpWindow> s_current;
};

// Opens (or raises) the help window on the document `path` at `anchor`. `parent` only
// decides whose window the help belongs to; the help stays a window of its own.
void showHelp(const QString& path, const QString& anchor = QStringLiteral("contents"),
              QWidget* parent = nullptr);

} // namespace vimbrel
