// SPDX-License-Identifier: GPL-3.0-or-later
// E-mail copies: their sizes, turns, names and type codes, the encoded mailto: address, and the
// window sending real pictures into a mail folder on the offscreen platform.

#include "albumfixture.h"
#include "logcapture.h"
#include "mailrules.h"
#include "mailsend.h"
#include "phmail.h"
#include "picturefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace vimbrel;

namespace {

PicRec picture(const char* file, int w, int h, const char* orient) {
    PicRec p;
    p.pfile = file;
    p.pwidth = static_cast<Integer>(w);
    p.pheight = static_cast<Integer>(h);
    p.porient = orient;
    return p;
}

} // namespace

TEST(MailCopies, SizeByTheShortSideTurnedAndNeverEnlarged) {
    const struct {
        int w, h;
        const char* orient;
        int option, rotation;
        QSize size;
    } cases[] = {
        {1600, 1200, "L", 0, 0, {400, 300}},   {1200, 1600, "L", 0, 0, {300, 400}},
        {1200, 1600, "P", 0, 90, {400, 300}},  {1600, 1200, "p", 2, 270, {600, 800}},
        {1600, 1200, "e", 1, 270, {450, 600}}, {640, 480, "L", 2, 0, {640, 480}},
        {1001, 1500, "L", 0, 0, {300, 450}}, // 449.55 rounds up
    };
    for (const auto& c : cases) {
        const PicRec p = picture("vmb0001.jpg", c.w, c.h, c.orient);
        const auto job = mailJob(p, {}, {}, mailShortSide(c.option));
        ASSERT_TRUE(job);
        EXPECT_EQ(job->rotation, c.rotation) << c.w << "x" << c.h << c.orient;
        EXPECT_EQ(QSize(job->width, job->height), c.size) << c.w << "x" << c.h << c.orient;
    }
}

TEST(MailCopies, TypeCodesNamesAndPaths) {
    const auto bmp = mailJob(picture("vmb0007.bmp", 640, 480, "L"), QStringLiteral("/a/B/"),
                             QStringLiteral("/m/mail"), 300);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->type, PictureLibrary::OtherSource);
    EXPECT_EQ(bmp->src, QStringLiteral("/a/B/vmb0007.bmp"));
    EXPECT_EQ(bmp->dest, QStringLiteral("/m/mail/vmb0007.jpg"));
    EXPECT_EQ(mailType(QStringLiteral("vmb0003.JPG")), PictureLibrary::Jpeg);

    // Nothing to keep the proportions of, and no name: no copy.
    EXPECT_FALSE(mailJob(picture("vmb0004.jpg", 0, 480, "L"), {}, {}, 300));
    EXPECT_FALSE(mailJob(picture("", 640, 480, "L"), {}, {}, 300));
}

TEST(MailAddress, EncodedSoTheBodyComesBackExactly) {
    const QString folder = QStringLiteral("/home/zoë/my cache/a&b #1 50%+/VIMBRA_EMAIL_PICS");
    const QString body = mailBody(folder);
    EXPECT_EQ(body,
              QStringLiteral("*** SELECT 'File Attach' From the Menu, and Attach the\r\n"
                             "Files in Directory: ") +
                  folder +
                  QStringLiteral("\r\n**** Replace this Message with Your Email Text ****\r\n"));

    const QUrl url = mailUrl(folder);
    ASSERT_TRUE(url.isValid()) << url.errorString().toStdString();
    const QByteArray encoded = url.toEncoded();
    EXPECT_TRUE(encoded.startsWith("mailto:?cc=&subject=Photos&body=")) << encoded.constData();
    EXPECT_TRUE(encoded.contains("Attach%20the%0D%0AFiles")) << encoded.constData();
    EXPECT_TRUE(encoded.contains("/home/zo%C3%AB/my%20cache/a%26b%20%231%2050%25%2B/"))
        << encoded.constData();
    EXPECT_EQ(QUrlQuery(url).queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), body);
}

namespace {

// Group 1 of 4 frames: a 1600 x 1200 JPEG, a 1200 x 1600 BMP turned "P", a 640 x 480 GIF and
// one photo left out; group 2 holds a selected photo that must not go. The mail folder has a
// blank and a non-ASCII letter in its name and holds leftovers of an earlier send.
struct MailFixture : test::Fixture {
    QTemporaryDir tmp;
    PictureLibrary pictures{tmp.filePath(QStringLiteral("thumbs")), 16 << 20};
    QList<QUrl> opened;
    bool openWorks = true;
    // The desktop's tools are the test's own: PATH holds only its bin folder, where xdg-mime
    // names a mail program and xdg-email is missing until a test puts one in.
    QString bin = tmp.filePath(QStringLiteral("bin"));
    QByteArray oldPath = qgetenv("PATH");

    MailFixture() {
        QDir().mkpath(bin);
        qputenv("PATH", QFile::encodeName(bin));
        tool("xdg-mime", "echo standin-mail.desktop\n");
        a.picdir = tmp.filePath(QStringLiteral("A")) + QLatin1Char('/');
        a.maildir = tmp.filePath(QStringLiteral("e-mail fötos"));
        QDir().mkpath(a.picdir);
        QDir().mkpath(a.maildir + QStringLiteral("/keep"));
        test::writeFile(a.maildir + QStringLiteral("/keep/inside.txt"), "stays");
        test::writeFile(a.maildir + QStringLiteral("/vmb0009.jpg"), "earlier");

        add(1, 1, "vmb0001.jpg", test::jpegBytes(test::markedPicture(1600, 1200)), {1600, 1200});
        add(2, 2, "vmb0002.bmp", test::bmpBytes(test::markedPicture(1200, 1600), 24), {1200, 1600});
        add(3, 3, "vmb0003.gif", test::gifBytes(test::markedPicture(640, 480)), {640, 480});
        add(4, 4, "vmb0004.jpg", test::jpegBytes(test::markedPicture(640, 480)), {640, 480});
        add(5, 6, "vmb0005.jpg", test::jpegBytes(test::markedPicture(640, 480)), {640, 480});
        a.pics[2].porient = "P";
        setGroups({4, 4});
        a.curgrp = 1;
        for (int s : {1, 2, 3, 5})
            a.pics[s].psel = 0;
        a.nsel = 3;
    }
    void add(int slot, int frame, const char* name, const QByteArray& bytes, QSize size) {
        addPicture(slot, frame, slot);
        a.pics[slot].pfile = name;
        a.pics[slot].pwidth = static_cast<Integer>(size.width());
        a.pics[slot].pheight = static_cast<Integer>(size.height());
        test::writeFile(a.picdir + QLatin1String(name), bytes);
    }
    ~MailFixture() { qputenv("PATH", oldPath); }
    void tool(const char* name, const QByteArray& script) {
        const QString path = bin + QLatin1Char('/') + QLatin1String(name);
        test::writeFile(path, "#!/bin/sh\n" + script);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // An xdg-email that records its arguments (NUL after each) and exits with `code`.
    void xdgEmail(int code) {
        tool("xdg-email", "for a in \"$@\"; do printf '%s\\000' \"$a\"; done >>'" +
                              QFile::encodeName(bin) + "/args'\nexit " + QByteArray::number(code) +
                              "\n");
    }
    QStringList xdgEmailCalls() const {
        QFile f(bin + QStringLiteral("/args"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList args = QString::fromUtf8(f.readAll()).split(QChar(0));
        args.removeLast();
        return args;
    }
    QString copyPath(const char* name) const {
        return a.maildir + QLatin1Char('/') + QLatin1String(name);
    }
    std::unique_ptr<phmail> open() {
        return std::make_unique<phmail>(a, pictures, nullptr, [this](const QUrl& url) {
            opened.append(url);
            return openWorks;
        });
    }
    QStringList mailFolder() const {
        return QDir(a.maildir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    QImage copy(const char* name) const { return QImage(copyPath(name)); }
};

} // namespace

TEST(MailWindow, SendCopiesTheSelectionAndOpensTheMailProgram) {
    MailFixture f;
    auto w = f.open();
    w->show();

    w->cb_send->click();
    EXPECT_EQ(f.mailFolder(),
              QStringList({QStringLiteral("keep"), QStringLiteral("vmb0001.jpg"),
                           QStringLiteral("vmb0002.jpg"), QStringLiteral("vmb0003.gif")}));
    EXPECT_TRUE(QFile::exists(f.a.maildir + QStringLiteral("/keep/inside.txt")));
    EXPECT_EQ(f.copy("vmb0001.jpg").size(), QSize(400, 300));
    EXPECT_EQ(f.copy("vmb0003.gif").size(), QSize(400, 300));
    // The upright BMP turned a quarter clockwise: its top-left mark is now at the top-right.
    const QImage turned = f.copy("vmb0002.jpg");
    EXPECT_EQ(turned.size(), QSize(400, 300));
    EXPECT_TRUE(test::near(test::cornerColour(turned, 'b'), test::kRed));

    ASSERT_EQ(f.opened.size(), 1);
    EXPECT_EQ(f.opened[0], mailUrl(f.a.maildir));
    EXPECT_TRUE(w->isVisible());

    // Large: the 640 x 480 GIF keeps its size; only this send's copies remain.
    w->optsize[2]->click();
    w->cb_send->click();
    EXPECT_EQ(f.copy("vmb0001.jpg").size(), QSize(800, 600));
    EXPECT_EQ(f.copy("vmb0003.gif").size(), QSize(640, 480));
    EXPECT_EQ(f.opened.size(), 2);
    EXPECT_EQ(f.a.changed, 'n');
}

TEST(MailWindow, NoSelectionStillEmptiesTheFolderAndOpensTheMailProgram) {
    MailFixture f;
    SetAllSel(f.a, -1);
    f.a.nsel = 3; // out of date: nothing is selected any more
    auto w = f.open();
    w->cb_send_Click();
    EXPECT_EQ(f.mailFolder(), QStringList(QStringLiteral("keep")));
    ASSERT_EQ(f.opened.size(), 1);
    EXPECT_EQ(f.opened[0], mailUrl(f.a.maildir));

    // A mail folder removed since start-up is made again.
    QDir(f.a.maildir).removeRecursively();
    f.a.pics[4].psel = 0;
    auto again = f.open();
    again->cb_send_Click();
    EXPECT_EQ(f.mailFolder(), QStringList(QStringLiteral("vmb0004.jpg")));
}

TEST(MailWindow, ALinkedMailFolderGetsNoCopiesAndTheUserIsTold) {
    MailFixture f;
    // The user's own folder, holding a picture named like a copy, with the mail folder a link.
    const QString pictures = f.tmp.filePath(QStringLiteral("Pictures"));
    QDir().mkpath(pictures);
    test::writeFile(pictures + QStringLiteral("/vmb0001.jpg"), "the user's own");
    QDir(f.a.maildir).removeRecursively();
    ASSERT_TRUE(QFile::link(pictures, f.a.maildir));
    auto w = f.open();
    w->cb_send_Click();
    QFile own(pictures + QStringLiteral("/vmb0001.jpg"));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), QByteArray("the user's own"));
    EXPECT_EQ(QDir(pictures).entryList(QDir::Files), QStringList(QStringLiteral("vmb0001.jpg")));
    EXPECT_TRUE(f.opened.isEmpty());
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, QStringLiteral("EMail - ERROR"));
}

TEST(MailHandOff, TheCopiesGoAsAttachmentsWithSubjectAndBody) {
    MailFixture f;
    f.xdgEmail(0);
    auto w = f.open();
    w->cb_send_Click();
    EXPECT_EQ(
        f.xdgEmailCalls(),
        QStringList(
            {QStringLiteral("--subject"), QStringLiteral("Photos"), QStringLiteral("--body"),
             QStringLiteral("**** Replace this Message with Your Email Text ****\r\n"),
             QStringLiteral("--attach"), f.copyPath("vmb0001.jpg"), QStringLiteral("--attach"),
             f.copyPath("vmb0002.jpg"), QStringLiteral("--attach"), f.copyPath("vmb0003.gif")}));
    EXPECT_TRUE(f.opened.isEmpty());
    EXPECT_TRUE(f.ui.shown.isEmpty());
}

// A failing xdg-email is logged with its exit code.
TEST(MailHandOff, WithoutAWorkingXdgEmailTheAddressSaysWhereTheCopiesAre) {
    for (const int code : {-1, 3, 4}) { // -1: no xdg-email at all
        MailFixture f;
        if (code >= 0)
            f.xdgEmail(code);
        auto w = f.open();
        test::LogCapture log;
        w->cb_send_Click();
        EXPECT_EQ(f.xdgEmailCalls().isEmpty(), code < 0) << code;
        ASSERT_EQ(f.opened.size(), 1) << code;
        EXPECT_EQ(f.opened[0], mailUrl(f.a.maildir)) << code;
        EXPECT_TRUE(f.ui.shown.isEmpty()) << code;
        if (code < 0)
            continue;
        const QList<test::Line> lines =
            log.about(QStringLiteral("vimbrel.mail"), f.bin + QStringLiteral("/xdg-email"));
        ASSERT_EQ(lines.size(), 1) << code;
        EXPECT_EQ(lines[0].type, QtWarningMsg);
        EXPECT_TRUE(lines[0].text.contains(QStringLiteral("exit code %1").arg(code)))
            << lines[0].text.toStdString();
    }
}

TEST(MailHandOff, NoMailProgramIsToldInAMessageBox) {
    const auto told = [](const MailFixture& f) {
        return f.ui.shown.size() == 1 && f.ui.shown[0].title == QStringLiteral("EMail") &&
               f.ui.shown[0].icon == MsgIcon::Information &&
               f.ui.shown[0].text == noMailProgramText(f.a.maildir);
    };
    {
        // The desktop knows no program for mailto: nothing is started, the copies are made.
        MailFixture f;
        f.tool("xdg-mime", "exit 0\n");
        f.xdgEmail(0);
        auto w = f.open();
        w->cb_send_Click();
        EXPECT_TRUE(told(f));
        EXPECT_TRUE(f.xdgEmailCalls().isEmpty());
        EXPECT_TRUE(f.opened.isEmpty());
        EXPECT_TRUE(QFileInfo(f.copyPath("vmb0001.jpg")).isFile());
    }
    {
        // No xdg-email, and the address cannot be handed on either.
        MailFixture f;
        f.openWorks = false;
        auto w = f.open();
        w->cb_send_Click();
        EXPECT_EQ(f.opened.size(), 1);
        EXPECT_TRUE(told(f));
    }
}
