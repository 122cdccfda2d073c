// The help document vimbra.hlp and the help window: the document's links, the window opening
// at a section, reuse of the open window, a missing file, and where the program finds its help.

#include "helpviewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
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

class HelpDocument : public ::testing::Test {
protected:
    void SetUp() override {
        bytes = sourceHelpBytes();
        ASSERT_FALSE(bytes.isEmpty()) << sourceHelpPath().toStdString();
        doc.setHtml(QString::fromUtf8(bytes));
    }
    QByteArray bytes;
    QTextDocument doc;
};

TEST_F(HelpDocument, HasTheContentsAnchorAndNoBrokenLinks) {
    const Anchors a = collectAnchors(doc);
    EXPECT_TRUE(a.names.contains(QStringLiteral("contents")));
    EXPECT_GE(a.internalLinks.size(), 15);
    for (const QString& target : a.internalLinks)
        EXPECT_TRUE(a.names.contains(target))
            << "link to a missing section: #" << target.toStdString();
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
    EXPECT_EQ(w->documentPath(), QFileInfo(copy).absoluteFilePath());
    QTextBrowser* b = w->browser();
    EXPECT_TRUE(b->toPlainText().contains(QStringLiteral("The tool strip")));
    EXPECT_EQ(b->source().fragment(), QStringLiteral("contents"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return anchorVisible(b, QStringLiteral("contents")); }, 2000));
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

TEST_F(HelpWindowTest, EscapeEndsTheWindowAndTheNextCallOpensANewOne) {
    showHelp(copy);
    QPointer<HelpWindow> first = HelpWindow::current();
    first->activateWindow();
    QTest::keyClick(first->browser(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(HelpWindow::current(), nullptr);
    showHelp(copy);
    ASSERT_NE(HelpWindow::current(), nullptr);
    EXPECT_TRUE(HelpWindow::current()->isVisible());
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

// Beside the program (the build folder) first, then share/vimbrel of the installation;
// a folder of that name is no help file.
TEST_F(FindHelpFile, BesideTheProgramThenInShare) {
    const QString beside = root.filePath(QStringLiteral("bin/vimbra.hlp"));
    const QString shared = root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp"));
    EXPECT_EQ(findHelpFile(bin), QString());
    EXPECT_EQ(findHelpFile(QString()), QString());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin/vimbra.hlp")));
    EXPECT_EQ(findHelpFile(bin), QString());
    touch(shared);
    EXPECT_EQ(findHelpFile(bin), shared); // a clean path, without "bin/.."
    ASSERT_TRUE(root.rmdir(QStringLiteral("bin/vimbra.hlp")));
    touch(beside);
    EXPECT_EQ(findHelpFile(bin), beside);
    EXPECT_EQ(findHelpFile(), findHelpFile(QCoreApplication::applicationDirPath()));
}

} // namespace
