// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpviewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

// The document in the source tree (a path the build gives: __FILE__ may be relative).
QString sourceHelpPath() {
    return QStringLiteral(VIMBREL_SOURCE_DIR "/assets/help/vimbra.hlp");
}

// Scrolled so that the anchor stands at the top of the view (give or take a line).
bool anchorAtTop(QTextBrowser* browser, const QString& name) {
    for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name)) {
                QTextCursor c(browser->document());
                c.setPosition(it.fragment().position());
                const int top = browser->cursorRect(c).top();
                return top >= -2 && top <= 24;
            }
    return false;
}

TEST(HelpDocument, HasTheContentsAnchorAndNoBrokenLinks) {
    QFile f(sourceHelpPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << sourceHelpPath().toStdString();
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    QSet<QString> names, links;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat cf = it.fragment().charFormat();
            for (const QString& n : cf.anchorNames())
                names.insert(n);
            if (cf.anchorHref().startsWith(QLatin1Char('#')))
                links.insert(cf.anchorHref().mid(1));
        }
    EXPECT_TRUE(names.contains(QStringLiteral("contents")));
    EXPECT_GE(links.size(), 15);
    for (const QString& target : links)
        EXPECT_TRUE(names.contains(target))
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
    QTemporaryDir dir;
    QString copy;
};

TEST_F(HelpWindowTest, OpensAtTheContentsAsUtf8AndReusesTheWindowForASection) {
    showHelp(copy);
    HelpWindow* w = HelpWindow::current();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    QTextBrowser* b = w->browser();
    EXPECT_EQ(b->source().fragment(), QStringLiteral("contents"));
    // A real multiplication sign; a Latin-1 reading would show "Ã—".
    EXPECT_TRUE(
        b->toPlainText().contains(QStringLiteral("600 ") + QChar(0x00D7) + QStringLiteral(" 450")));

    showHelp(copy, QStringLiteral("printing"));
    EXPECT_EQ(HelpWindow::current(), w);
    EXPECT_TRUE(QTest::qWaitFor([&] { return anchorAtTop(b, QStringLiteral("printing")); }, 2000));
    // The user scrolls away; asking again for the same section brings it back.
    b->verticalScrollBar()->setValue(0);
    showHelp(copy, QStringLiteral("printing"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return anchorAtTop(b, QStringLiteral("printing")); }, 2000));
}

TEST_F(HelpWindowTest, AMissingFileShowsAMessageInstead) {
    showHelp(dir.filePath(QStringLiteral("gone/vimbra.hlp")));
    HelpWindow* w = HelpWindow::current();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("not available")));
    EXPECT_FALSE(w->contentsButton()->isEnabled());
    showHelp(copy);
    EXPECT_EQ(HelpWindow::current(), w);
    EXPECT_TRUE(w->browser()->toPlainText().contains(QStringLiteral("The tool strip")));
    EXPECT_TRUE(w->contentsButton()->isEnabled());
}

// Beside the program (the build folder) first, then share/vimbrel of the installation.
TEST(FindHelpFile, BesideTheProgramThenInShare) {
    QTemporaryDir dir;
    QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")) && root.mkpath(QStringLiteral("share/vimbrel")));
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString beside = root.filePath(QStringLiteral("bin/vimbra.hlp"));
    const QString shared = root.filePath(QStringLiteral("share/vimbrel/vimbra.hlp"));
    EXPECT_EQ(findHelpFile(bin), QString());
    for (const QString& path : {shared, beside}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<html><body>help</body></html>");
        f.close();
        EXPECT_EQ(findHelpFile(bin), path); // a clean path, without "bin/.."
    }
}

} // namespace
