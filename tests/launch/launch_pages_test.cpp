#include "controls/user_control1.h"
#include "core/ini_runtime.h"
#include "core/messages.h"
#include "core/scripted_dialogs.h"
#include "launch/launch_pages.h"
#include "launch/startup_options.h"
#include "tests/app/app_fixture.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::GameSetup;

namespace {

class PagesTest : public ::testing::Test {
protected:
    PagesTest() {
        createServices(games.store());
        readInstallFolders(registry(), environment());
        composePlayerFolders(registry(), environment());
        panel.resize(660, 470);
    }
    template <typename T = QWidget> T* child(const char* name) {
        T* found = panel.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void clickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void toggleRow(QListWidget* list, int row) {
        QListWidgetItem* item = list->item(row);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    void press(const char* button) {
        auto* control = child<UserControl1>(button);
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }
    QString stored(const QString& name) {
        return registry().GetString(HKEY_LOCAL_MACHINE, SettingsKey, name);
    }
    QStringList rows(QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    GameSetup games;
    ScriptedDialogService dialogs;
    QWidget panel;
};

} // namespace

TEST_F(PagesTest, StartupOptionsAreListedTickedAndStored) {
    INIRuntime ini;
    ini.WriteINI(QStringLiteral("ZH"), QStringLiteral("Options"), QStringLiteral("noshellmap,,shaders"),
                 optionsFilePath());
    ini.WriteINI(QStringLiteral("Gen"), QStringLiteral("Options"), QString(), optionsFilePath());
    registry().SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("ZHStartupOptions"),
                          QStringLiteral(" -noshaders"));
    const QString language = games.folder() + QStringLiteral("/English.lng");
    ini.WriteINI(QStringLiteral("LNG"), QStringLiteral("noshellmap"),
                 QStringLiteral("Starts without the menu map"), language);
    environment().TradFileName = language;
    environment().CurrentGame = ZeroHour;

    StartupOptionsPage page(&panel);
    page.LoadStartupOptions();
    auto* list = child<QListWidget>("ListView2");
    ASSERT_EQ(rows(list), QStringList({QStringLiteral("noshellmap"), QString(), QStringLiteral("shaders")}));
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked); // the empty name occurs in every value
    EXPECT_EQ(list->item(2)->checkState(), Qt::Checked);
    EXPECT_EQ(child<QLabel>("Label57")->text(), QStringLiteral("-"));

    clickRow(list, 0);
    EXPECT_EQ(child<QLabel>("Label57")->text(), QStringLiteral("Starts without the menu map"));
    clickRow(list, 2);
    EXPECT_EQ(child<QLabel>("Label57")->text(), QString());

    toggleRow(list, 0);
    toggleRow(list, 2);
    press("UserControl12");
    EXPECT_EQ(stored(QStringLiteral("ZHStartupOptions")), QStringLiteral(" -noshellmap -"));
    EXPECT_EQ(dialogs.messages().back().number, 8);

    environment().CurrentGame = Generals;
    page.LoadStartupOptions();
    EXPECT_EQ(list->count(), 0);
    press("UserControl12");
    EXPECT_EQ(stored(QStringLiteral("GenStartupOptions")), QString());
}

TEST_F(PagesTest, OneModAtMostIsChosenAndDescribed) {
    const QString folder = games.installFolder(Generals);
    for (const char* name : {"Alpha.big", "Beta.big", "Music.big"})
        test::writeBytes(folder + u'/' + QString::fromLatin1(name), "BIGF");
    registry().SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("GenMod"),
                          QStringLiteral("Beta.big"));
    ModsPage page(&panel);
    page.ListMods();
    auto* list = child<QListWidget>("ListView3");
    ASSERT_EQ(rows(list), QStringList({QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);

    toggleRow(list, 0);
    EXPECT_EQ(stored(QStringLiteral("GenMod")), QStringLiteral("Alpha.big"));
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
    toggleRow(list, 0);
    EXPECT_EQ(stored(QStringLiteral("GenMod")), QString());
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);

    // Typing a description creates the mod's description file.
    clickRow(list, 0);
    EXPECT_EQ(child<QLabel>("Label58")->text(), QStringLiteral("Alpha.big"));
    auto* description = child<QLineEdit>("Text7");
    EXPECT_EQ(description->text(), QString());
    QTest::keyClicks(description, QStringLiteral("Tanks"));
    EXPECT_EQ(INIRuntime().ReadINI(QStringLiteral("Mod"), QStringLiteral("Comments"),
                                   folder + QStringLiteral("/Alpha.ini")),
              QStringLiteral("Tanks"));
    clickRow(list, 1);
    EXPECT_EQ(description->text(), QString());
    clickRow(list, 0);
    EXPECT_EQ(description->text(), QStringLiteral("Tanks"));
}

TEST_F(PagesTest, DeletingAModAsksFirst) {
    const QString folder = games.installFolder(Generals);
    test::writeBytes(folder + QStringLiteral("/Alpha.big"), "BIGF");
    test::writeBytes(folder + QStringLiteral("/Alpha.ini"), "[Mod]\r\nComments=x\r\n");
    registry().SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("GenMod"),
                          QStringLiteral("Alpha.big"));
    ModsPage page(&panel);
    page.ListMods();
    auto* list = child<QListWidget>("ListView3");
    clickRow(list, 0);
    dialogs.answerMessage(MsgResult::No);
    press("UserControl110");
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Alpha.big")));
    EXPECT_EQ(dialogs.messages().back().number, 25);

    clickRow(list, 0);
    dialogs.answerMessage(MsgResult::Yes);
    press("UserControl110");
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Alpha.big")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Alpha.ini")));
    EXPECT_EQ(stored(QStringLiteral("GenMod")), QStringLiteral("Alpha.big"));
    EXPECT_EQ(list->count(), 0);
}

TEST_F(PagesTest, AMapIsDeletedOnlyAfterYes) {
    const QString maps = environment().MapsFolder[Generals];
    test::writeBytes(maps + QStringLiteral("Alpine/Alpine.map"), "map");
    test::writeBytes(maps + QStringLiteral("Desert/Desert.map"), "map");
    MapsPage page(&panel);
    page.ListInstalledMaps();
    auto* list = child<QListWidget>("List2");
    auto* remove = child<UserControl1>("UserControl14");
    ASSERT_EQ(rows(list), QStringList({QStringLiteral("Alpine"), QStringLiteral("Desert")}));
    EXPECT_FALSE(remove->isEnabled());

    clickRow(list, 1);
    EXPECT_TRUE(remove->isEnabled());
    dialogs.answerMessage(MsgResult::No);
    press("UserControl14");
    EXPECT_EQ(dialogs.messages().back().text,
              QStringLiteral("Êtes-vous sûr de vouloir supprimer la carte Desert?"));
    EXPECT_TRUE(QFile::exists(maps + QStringLiteral("Desert/Desert.map")));

    dialogs.answerMessage(MsgResult::Yes);
    press("UserControl14");
    EXPECT_FALSE(QFile::exists(maps + QStringLiteral("Desert")));
    EXPECT_EQ(rows(list), QStringList({QStringLiteral("Alpine")}));
    EXPECT_TRUE(remove->isEnabled());
    const auto asked = dialogs.messages().size();
    press("UserControl14"); // no row selected any more
    EXPECT_EQ(dialogs.messages().size(), asked);
}
