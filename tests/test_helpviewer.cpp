// The help document vimbra.hlp and the help window: the document's content and links, the
// window opening at a section, reuse of the open window, a missing file, and where the
// program finds its help.

#include "helpviewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

#include <limits>

using namespace vimbrel;

namespace {

// The document in the source tree, found from this file's own path.
QString sourceHelpPath() {
    const QFileInfo self(QString::fromUtf8(__FILE__));
    return QDir::cleanPath(self.absolutePath() + QStringLiteral("/../assets/help/vimbra.hlp"));
}

QByteArray sourceHelpBytes() {
    QFile f(sourceHelpPath());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Every fragment's anchor names and link targets of a laid-out document.
struct Anchors {
    QSet<QString> names;
    QSet<QString> internalLinks; // "#name" targets, without the "#"
};

Anchors collectAnchors(const QTextDocument& doc) {
    Anchors a;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            for (const QString& n : f.anchorNames())
                a.names.insert(n);
            const QString href = f.anchorHref();
            if (href.startsWith(QLatin1Char('#')))
                a.internalLinks.insert(href.mid(1));
        }
    }
    return a;
}

// Document position of the named anchor, -1 when there is none.
int anchorPosition(const QTextDocument* doc, const QString& name) {
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name))
                return it.fragment().position();
    return -1;
}

// Top of the anchor in the browser's viewport, in pixels (0 = the top edge of the view).
int anchorTopInView(QTextBrowser* browser, const QString& name) {
    const int pos = anchorPosition(browser->document(), name);
    if (pos < 0)
        return std::numeric_limits<int>::min();
    QTextCursor c(browser->document());
    c.setPosition(pos);
    return browser->cursorRect(c).top();
}

bool anchorVisible(QTextBrowser* browser, const QString& name) {
    const int top = anchorTopInView(browser, name);
    return top >= 0 && top < browser->viewport()->height();
}

// Scrolled so that the anchor stands at the top of the view (give or take a line).
bool anchorAtTop(QTextBrowser* browser, const QString& name) {
    const int top = anchorTopInView(browser, name);
    return top >= -2 && top <= 24;
}

const QStringList kTools = {
    QStringLiteral("Edit Groups"),
    QStringLiteral("Import Images"),
    QStringLiteral("Command"),
    QStringLiteral("Exit Vimbrel"),
    QStringLiteral("Photo Box"),
    QStringLiteral("Rotate Photo"),
    QStringLiteral("Display Large Photos"),
    QStringLiteral("Display Medium Photos"),
    QStringLiteral("Display Small Photos"),
    QStringLiteral("GoTo First Page"),
    QStringLiteral("GoTo Last Page"),
    QStringLiteral("GoTo Page"),
    QStringLiteral("Change Descriptions"),
    QStringLiteral("GoTo Index"),
    QStringLiteral("Show/Hide Descriptions"),
    QStringLiteral("Select All/None"),
    QStringLiteral("Save Image As"),
    QStringLiteral("Help"),
    QStringLiteral("Minimize"),
    QStringLiteral("Slide Show"),
    QStringLiteral("Email"),
    QStringLiteral("Print"),
};

class HelpDocument : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = sourceHelpBytes();
        ASSERT_FALSE(bytes.isEmpty()) << sourceHelpPath().toStdString();
        doc.setHtml(QString::fromUtf8(bytes));
        text = doc.toPlainText();
    }
    QByteArray bytes;
    QTextDocument doc;
    QString text;
};

TEST_F(HelpDocument, ParsesIntoATitledDocumentWithEverySection) {
    EXPECT_GT(text.size(), 5000);
    EXPECT_EQ(doc.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Vimbrel Help"));
    for (const char* heading :
         {"Getting started", "The album chooser", "Creating, opening and renaming albums",
          "The page view", "The tool strip", "Selecting and arranging photos", "The Photo Box",
          "Importing pictures", "Groups and descriptions", "Slide shows",
          "Printing photos and the album report", "E-mail", "Read-only albums", "Files and folders",
          "Keyboard"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading;
}

TEST_F(HelpDocument, HasTheContentsAnchorAndNoBrokenLinks) {
    const Anchors a = collectAnchors(doc);
    EXPECT_TRUE(a.names.contains(QStringLiteral("contents")));
    EXPECT_GE(a.internalLinks.size(), 15);
    for (const QString& target : a.internalLinks)
        EXPECT_TRUE(a.names.contains(target))
            << "link to a missing section: #" << target.toStdString();
}

TEST_F(HelpDocument, NamesEveryToolInTheToolTable) {
    ASSERT_EQ(kTools.size(), 22);
    // The tool table: the table whose header row starts with "Tool".
    const int tableStart = text.indexOf(QStringLiteral("Tool\nWhat it does"));
    ASSERT_GE(tableStart, 0);
    const QString fromTable = text.mid(tableStart);
    for (const QString& tool : kTools) {
        EXPECT_TRUE(text.contains(tool)) << tool.toStdString();
        // Each tool has a row of its own: the name alone as a cell.
        EXPECT_TRUE(fromTable.contains(QLatin1Char('\n') + tool + QLatin1Char('\n')))
            << tool.toStdString();
    }
}

TEST_F(HelpDocument, SpeaksToTheUserOfTheLinuxProgram) {
    const QString raw = QString::fromUtf8(bytes);
    const QString lower = raw.toLower();
    // Windows notions and internal names mean nothing to the reader.
    for (const char* word : {"twips", ".dll", "it(", "cfgnames", "apppath", "windir"})
        EXPECT_FALSE(lower.contains(QString::fromUtf8(word))) << word;
    EXPECT_FALSE(raw.contains(QRegularExpression(QStringLiteral("\\bPart \\d+\\.\\d"),
                                                 QRegularExpression::CaseInsensitiveOption)));
    EXPECT_FALSE(raw.contains(QRegularExpression(QStringLiteral("\\b[A-Z]:\\\\"))));
    // Where things live on Linux.
    EXPECT_TRUE(text.contains(QStringLiteral("~/.config/vimbrel/vimbra.cfg")));
    EXPECT_TRUE(text.contains(QStringLiteral("~/.cache/vimbrel/VIMBRA_EMAIL_PICS")));
    // The chooser's buttons as the user sees them.
    for (const char* caption : {"Open", "New", "Save", "Rename", "Return", "Exit", "Other ..."})
        EXPECT_TRUE(text.contains(QString::fromUtf8(caption))) << caption;
}

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        copy = dir.filePath(QStringLiteral("vimbra.hlp"));
        ASSERT_TRUE(QFile::copy(sourceHelpPath(), copy));
    }
    void TearDown() override {
        if (HelpWindow* w = HelpWindow::current())
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static int helpWindowCount() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<HelpWindow*>(w) != nullptr)
                ++n;
        return n;
    }
    QTemporaryDir dir;
    QString copy;
};

TEST_F(HelpWindowTest, OpensAtTheContents) {
    showHelp(copy);
    HelpWindow* w = HelpWindow::current();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Vimbrel Help"));
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_GE(w->width(), 640);
    EXPECT_GE(w->height(), 500);
    EXPECT_EQ(w->documentPath(), QFileInfo(copy).absoluteFilePath());
    QTextBrowser* b = w->browser();
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("The tool strip")));
    EXPECT_EQ(b->source().fragment(), QStringLiteral("contents"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return anchorVisible(b, QStringLiteral("contents")); }, 2000));
    EXPECT_TRUE(w->contentsButton()->isEnabled());
}

TEST_F(HelpWindowTest, ReadsTheDocumentAsUtf8) {
    showHelp(copy);
    const QString shown = HelpWindow::current()->browser()->toPlainText();
    // "600 x 450" with a real multiplication sign (plain text turns the no-break spaces into
    // spaces); a Latin-1 reading would show "Ã—" instead.
    EXPECT_TRUE(shown.contains(QStringLiteral("600 ") + QChar(0x00D7) + QStringLiteral(" 450")));
    EXPECT_FALSE(shown.contains(QChar(QChar::ReplacementCharacter)));
    EXPECT_FALSE(shown.contains(QChar(0x00C3)));
}

TEST_F(HelpWindowTest, OpensScrolledToAnotherSection) {
    showHelp(copy, QStringLiteral("photobox"));
    QTextBrowser* b = HelpWindow::current()->browser();
    EXPECT_TRUE(QTest::qWaitFor([&] { return b->verticalScrollBar()->value() > 0; }, 2000));
    EXPECT_TRUE(anchorAtTop(b, QStringLiteral("photobox")))
        << anchorTopInView(b, QStringLiteral("photobox"));
    EXPECT_FALSE(anchorVisible(b, QStringLiteral("contents")));
}

TEST_F(HelpWindowTest, ASecondCallReusesTheWindowAndMovesToTheSection) {
    showHelp(copy);
    HelpWindow* first = HelpWindow::current();
    showHelp(copy, QStringLiteral("printing"));
    EXPECT_EQ(HelpWindow::current(), first);
    EXPECT_EQ(helpWindowCount(), 1);
    QTextBrowser* b = first->browser();
    EXPECT_TRUE(QTest::qWaitFor([&] { return anchorAtTop(b, QStringLiteral("printing")); }, 2000));

    // The user scrolls away; asking again for the same section brings it back.
    b->verticalScrollBar()->setValue(0);
    showHelp(copy, QStringLiteral("printing"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return anchorAtTop(b, QStringLiteral("printing")); }, 2000));
    EXPECT_EQ(helpWindowCount(), 1);
}

TEST_F(HelpWindowTest, BackForwardAndContentsButtonsNavigate) {
    showHelp(copy);
    HelpWindow* w = HelpWindow::current();
    QTextBrowser* b = w->browser();
    EXPECT_FALSE(w->backButton()->isEnabled());
    b->setSource(QUrl(QStringLiteral("#import")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return anchorAtTop(b, QStringLiteral("import")); }, 2000));
    EXPECT_TRUE(w->backButton()->isEnabled());

    w->backButton()->click();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return anchorVisible(b, QStringLiteral("contents")); }, 2000));
    EXPECT_TRUE(w->forwardButton()->isEnabled());
    w->forwardButton()->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return anchorAtTop(b, QStringLiteral("import")); }, 2000));

    w->contentsButton()->click();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return anchorVisible(b, QStringLiteral("contents")); }, 2000));
    EXPECT_FALSE(anchorVisible(b, QStringLiteral("import")));
}

TEST_F(HelpWindowTest, AMissingFileShowsAMessageInstead) {
    showHelp(dir.filePath(QStringLiteral("gone/vimbra.hlp")));
    HelpWindow* w = HelpWindow::current();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->documentPath().isEmpty());
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("not available")));
    EXPECT_FALSE(w->contentsButton()->isEnabled());
    w->contentsButton()->click(); // disabled: nothing happens

    // No help found at all (findHelpFile() gave ""), then the file appears.
    showHelp(QString());
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("share/vimbrel")));
    showHelp(copy);
    EXPECT_EQ(HelpWindow::current(), w);
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("The tool strip")));
    EXPECT_TRUE(w->contentsButton()->isEnabled());
}

TEST_F(HelpWindowTest, ClosingEndsTheWindowAndTheNextCallOpensANewOne) {
    showHelp(copy);
    QPointer<HelpWindow> first = HelpWindow::current();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(HelpWindow::current(), nullptr);
    showHelp(copy);
    EXPECT_NE(HelpWindow::current(), nullptr);
    EXPECT_TRUE(HelpWindow::current()->isVisible());
}

TEST_F(HelpWindowTest, EscapeClosesTheWindow) {
    showHelp(copy);
    QPointer<HelpWindow> w = HelpWindow::current();
    w->activateWindow();
    QTest::keyClick(w->browser(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(HelpWindowTest, BelongsToItsParentButIsAWindowOfItsOwn) {
    QWidget owner;
    owner.show();
    showHelp(copy, QStringLiteral("contents"), &owner);
    HelpWindow* w = HelpWindow::current();
    EXPECT_EQ(w->parentWidget(), &owner);
    EXPECT_TRUE(w->isWindow());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class FindHelpFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
        ASSERT_TRUE(root.mkpath(QStringLiteral("share/vimbrel")));
        bin = root.filePath(QStringLiteral("bin"));
    }
    static void touch(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<html><body>help</body></html>");
    }
    QTemporaryDir dir;
    QDir root;
    QString bin;
};

TEST_F(FindHelpFile, NothingWhenThereIsNoHelp) {
    EXPECT_EQ(findHelpFile(bin), QString());
    EXPECT_EQ(findHelpFile(QString()), QString());
}

TEST_F(FindHelpFile, BesideTheProgramAsInTheBuildFolder) {
    touch(root.filePath(QStringLiteral("bin/vimbra.hlp")));
    EXPECT_EQ(findHelpFile(bin), root.filePath(QStringLiteral("bin/vimbra.hlp")));
}

TEST_F(FindHelpFile, InShareOfTheInstallation) {
    touch(root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp")));
    // A clean path, without "bin/..".
    EXPECT_EQ(findHelpFile(bin), root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp")));
}

TEST_F(FindHelpFile, TheCopyBesideTheProgramComesFirst) {
    touch(root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp")));
    touch(root.filePath(QStringLiteral("bin/vimbra.hlp")));
    EXPECT_EQ(findHelpFile(bin), root.filePath(QStringLiteral("bin/vimbra.hlp")));
}

TEST_F(FindHelpFile, AFolderOfThatNameIsNoHelpFile) {
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin/vimbra.hlp")));
    EXPECT_EQ(findHelpFile(bin), QString());
    touch(root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp")));
    EXPECT_EQ(findHelpFile(bin), root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp")));
}

TEST_F(FindHelpFile, TheRunningProgramLooksInItsOwnFolder) {
    EXPECT_EQ(findHelpFile(), findHelpFile(QCoreApplication::applicationDirPath()));
}

} // namespace
