// SPDX-License-Identifier: GPL-3.0-or-later
// The German catalogue as the windows and message boxes show it, and the way back to English.

#include "albumfixture.h"
#include "catalogue.h"
#include "pagefixture.h"
#include "pbox.h"
#include "phpage.h"
#include "picturedecoder.h"
#include "picturelibrary.h"
#include "toolstrip.h"
#include "vimbra.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vimbrel;
using namespace Qt::StringLiterals;

namespace {

// German for the length of a test, English again afterwards whatever the test did.
struct German {
    bool loaded = installTranslations(QLocale(QLocale::German, QLocale::Germany));
    ~German() { removeTranslations(); }
};

} // namespace

TEST(Translations, TheChooserShowsItsButtonsAndQuestionsInGerman) {
    German de;
    ASSERT_TRUE(de.loaded);
    test::Fixture f;
    f.a.cfglist.append(u"TRIP"_s, u"/tmp/TRIP.vmb"_s);
    f.a.cfglist.append(AlbumList::other, AlbumList::other);
    WindowHub hub;
    f.a.views = &hub;
    vimbra w(f.a, hub);

    const std::pair<QPushButton*, QString> buttons[] = {
        {w.cb_open, u"Ö&ffnen"_s},       {w.cb_new, u"&Neu"_s},       {w.cb_save, u"&Speichern"_s},
        {w.cb_saveas, u"&Umbenennen"_s}, {w.cb_cancel, u"&Zurück"_s}, {w.cb_exit, u"&Beenden"_s}};
    for (const auto& [button, text] : buttons)
        EXPECT_EQ(button->text(), text) << button->objectName().toStdString();

    // The row for another file is shown in German and stays the same row underneath.
    const QModelIndex other = f.a.cfglist.index(1, 0);
    EXPECT_EQ(other.data().toString(), u"Andere ..."_s);
    EXPECT_EQ(f.a.cfglist.name(1), AlbumList::other);

    // A message box's title and its text built around the album's name.
    w.cfgnames->setCurrentIndex(f.a.cfglist.index(0, 0));
    w.DelListItem();
    ASSERT_EQ(f.ui.shown.size(), 1);
    EXPECT_EQ(f.ui.shown[0].title, u"Aus der Liste löschen"_s);
    EXPECT_EQ(f.ui.shown[0].text, u"'TRIP' aus der Albumliste löschen"_s);
}

TEST(Translations, ThePageViewsHintsAndMessagesAreGerman) {
    German de;
    ASSERT_TRUE(de.loaded);
    test::PageFixture f({8}, {});
    f.openGroup(1);
    f.w->show();
    // The hints come from texts kept in English in a table; each is translated when shown.
    EXPECT_EQ(f.hint(0), u"Gruppen bearbeiten"_s);
    EXPECT_EQ(f.hint(4), u"Fotokiste"_s);
    EXPECT_EQ(f.hint(9), u"Zur ersten Seite"_s);
    EXPECT_EQ(toolTags()[9], u"GoTo First Page"_s);
    EXPECT_EQ(f.w->it[9]->accessibleName(), u"Zur ersten Seite"_s);

    f.ui.inputs.enqueue(u"x"_s);
    f.w->it_Click(11);
    // The input box asks first, then the message says the answer will not do.
    ASSERT_EQ(f.ui.shown.size(), 2);
    EXPECT_EQ(f.ui.shown[0].title, u"Gehe zu Seite"_s);
    EXPECT_EQ(f.ui.shown[1].title, u"Gehe zu Seite"_s);
    EXPECT_EQ(f.ui.shown[1].text, u"Ungültige Seitenzahl eingegeben."_s);
}

// English needs no catalogue; one for a language we do not have leaves the English texts,
// and so does going back from German. Qt's own dialogs and standard buttons come with the
// system's German catalogue.
TEST(Translations, EnglishAndUnknownLanguagesKeepTheEnglishTexts) {
    const QLocale locales[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                               QLocale(QLocale::Finnish), QLocale::c()};
    for (const QLocale& l : locales) {
        EXPECT_FALSE(installTranslations(l)) << l.name().toStdString();
        EXPECT_EQ(QCoreApplication::translate("vimbra", "&Open"), u"&Open"_s);
        removeTranslations();
    }
    {
        German de;
        ASSERT_TRUE(de.loaded);
        EXPECT_EQ(QCoreApplication::translate("vimbra", "&Open"), u"Ö&ffnen"_s);
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Abbrechen"_s);
        // Installing again replaces the catalogues rather than stacking a second set.
        EXPECT_TRUE(installTranslations(QLocale(QLocale::German, QLocale::Austria)));
    }
    EXPECT_EQ(QCoreApplication::translate("vimbra", "&Open"), u"&Open"_s);
    EXPECT_EQ(QCoreApplication::translate("phpage", "GoTo First Page"), u"GoTo First Page"_s);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel"_s);
}

// A picture whose header Qt cannot read says so in the program's words, whatever language
// Qt's own "Unknown error" comes in.
TEST(Translations, AnUnreadableHeaderIsNamedInTheProgramsWords) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath(u"cut.jpg"_s);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000"));
    f.close();
    EXPECT_EQ(readPictureHeader(path).error, u"Unreadable picture header"_s);
    German de;
    EXPECT_EQ(readPictureHeader(path).error, u"Unlesbarer Bildkopf"_s);
}

// A translated caption longer than the English one is shown whole, with its number after it.
TEST(Translations, ThePhotoBoxShowsItsLongerGermanCaptionsWhole) {
    German de;
    ASSERT_TRUE(de.loaded);
    test::Fixture f;
    QTemporaryDir tmp;
    f.a.picdir = tmp.filePath(u"A"_s) + QLatin1Char('/');
    f.setGroups({12});
    PictureLibrary pictures{tmp.filePath(u"thumbs"_s), 16 << 20};
    WindowHub hub;
    pbox box(f.a, hub, pictures);
    bool sawSelected = false;
    for (const QLabel* l : box.findChildren<QLabel*>()) {
        if (l->text().isEmpty() || l->text() == u"0"_s)
            continue;
        EXPECT_GE(l->width(), l->sizeHint().width()) << qPrintable(l->text());
        if (l->text() == u"Ausgewählt:"_s) {
            sawSelected = true;
            EXPECT_GE(box.fs_selcnt->x(), l->x() + l->sizeHint().width() - 2);
        }
    }
    EXPECT_TRUE(sawSelected);
}
