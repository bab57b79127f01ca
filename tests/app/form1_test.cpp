#include "app/form1.h"
#include "app/startup.h"
#include "controls/user_control1.h"
#include "core/clickable_label.h"
#include "core/ini_runtime.h"
#include "core/scripted_dialogs.h"
#include "core/translation_keys.h"
#include "tests/app/app_fixture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;
using marvok::test::GameSetup;

namespace {

class Form1Test : public ::testing::Test {
protected:
    void open(std::initializer_list<GameKind> installed = {Generals, ZeroHour, BattleForMiddleEarth}) {
        games = std::make_unique<GameSetup>(installed);
        window.reset(runStartup(QString()).mainWindow);
        ASSERT_NE(window, nullptr);
    }
    template <typename T = QWidget> T* child(const QString& name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    template <typename T = QWidget> T* child(const char* name) { return child<T>(QString::fromLatin1(name)); }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    std::vector<int> visiblePages() {
        std::vector<int> visible;
        for (int i = 0; i < Form1::PageCount; ++i) {
            if (window->pagePanel(i)->isVisible())
                visible.push_back(i);
        }
        return visible;
    }

    ScriptedDialogService dialogs;
    std::unique_ptr<GameSetup> games;
    std::unique_ptr<Form1> window;
};

} // namespace

TEST_F(Form1Test, OpensOnTheHomePanelWithEveryInstalledGame) {
    open();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Marvok 2"));
    EXPECT_TRUE(visiblePages().empty());
    EXPECT_TRUE(child("Picture6")->isVisible());
    EXPECT_FALSE(child("Picture4")->isVisible());
    EXPECT_EQ(window->bannerCell(), 0);
    for (const char* button : {"Image3", "Image5", "Image7"})
        EXPECT_TRUE(child(button)->isEnabled()) << button;
    for (const char* marker : {"Image22", "Image23", "Image24"})
        EXPECT_FALSE(child(marker)->isVisible()) << marker;
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), games->installFolder(Generals));
}

TEST_F(Form1Test, OnlyTheBattleForMiddleEarthInstalled) {
    open({BattleForMiddleEarth});
    EXPECT_EQ(environment().CurrentGame, Generals);
    EXPECT_FALSE(child("Image3")->isEnabled());
    EXPECT_FALSE(child("Image5")->isEnabled());
    EXPECT_TRUE(child("Image7")->isEnabled());
    EXPECT_TRUE(child("Image22")->isVisible()); // Generals
    EXPECT_TRUE(child("Image24")->isVisible()); // Zero Hour
    EXPECT_FALSE(child("Image23")->isVisible());
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QString());
}

TEST_F(Form1Test, SwitchGameMovesTheLabelsAndShowsTheGame) {
    open();
    window->SwitchGame(ZeroHour);
    EXPECT_EQ(environment().CurrentGame, ZeroHour);
    EXPECT_EQ(window->bannerCell(), 1);
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), games->installFolder(ZeroHour));
    EXPECT_EQ(child<QLineEdit>("Text2")->text(), environment().ReplaysFolder[ZeroHour]);
    // Chosen: higher and further left.
    EXPECT_LT(child("Label55")->y(), child("Label54")->y());
    EXPECT_EQ(child("Label55")->pos(), QPoint(64, 8));
    EXPECT_EQ(child("Label54")->pos(), QPoint(6, 9));
    EXPECT_EQ(child("Label56")->pos(), QPoint(160, 9));
    EXPECT_EQ(Form1::gameLabelTwips(ZeroHour, true), QPoint(960, 120));
    EXPECT_EQ(Form1::gameLabelTwips(BattleForMiddleEarth, false), QPoint(2400, 130));
}

TEST_F(Form1Test, TheProgramPageSaysWhereTheFoldersComeFrom) {
    open();
    click(child("Label2(2)"));
    EXPECT_TRUE(child("lblFoldersFromStore")->isVisible());
    EXPECT_FALSE(child("lblFoldersFromPrefix")->isVisible());
    environment().PrefixOf[ZeroHour] = QStringLiteral("/home/me/.wine");
    window->SwitchGame(ZeroHour);
    EXPECT_FALSE(child("lblFoldersFromStore")->isVisible());
    EXPECT_TRUE(child("lblFoldersFromPrefix")->isVisible());
    EXPECT_EQ(child<QLabel>("lblPrefixPath")->text(), QStringLiteral("/home/me/.wine"));
    EXPECT_EQ(translationKey(child<QObject>("lblFoldersFromPrefix")), QStringLiteral("FoldersFromPrefix"));
}

TEST_F(Form1Test, SwitchingToTheCurrentGameDoesNothing) {
    open();
    child<QLineEdit>("Text1")->setText(QStringLiteral("edited"));
    click(child("Image3"));
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), QStringLiteral("edited"));
    EXPECT_EQ(window->bannerCell(), 0);
}

TEST_F(Form1Test, ANameLabelSwitchesEvenWhenItsButtonIsDisabled) {
    open({Generals});
    ASSERT_FALSE(child("Image7")->isEnabled());
    click(child("Image7"));
    EXPECT_EQ(environment().CurrentGame, Generals);
    click(child("Label56"));
    EXPECT_EQ(environment().CurrentGame, BattleForMiddleEarth);
    EXPECT_EQ(window->bannerCell(), 2);
}

TEST_F(Form1Test, ALinkShowsExactlyItsPage) {
    open();
    window->replayDetailsPanel()->show();
    for (int page = 0; page < Form1::PageCount; ++page) {
        click(child(arrayName("Label2", page)));
        EXPECT_EQ(visiblePages(), std::vector<int>{page});
        EXPECT_FALSE(child("Picture4")->isVisible());
        EXPECT_FALSE(child("Picture6")->isVisible());
    }
}

TEST_F(Form1Test, SwitchingGamesBringsBackTheReplayList) {
    open();
    click(child("Label2(3)"));
    window->pagePanel(Form1::Replays)->hide();
    window->replayDetailsPanel()->show();
    window->SwitchGame(BattleForMiddleEarth);
    EXPECT_FALSE(window->replayDetailsPanel()->isVisible());
    EXPECT_EQ(visiblePages(), std::vector<int>{Form1::Replays});
}

TEST_F(Form1Test, HoveringALinkUnderlinesItAlone) {
    open();
    auto* cartes = child<ClickableLabel>("Label2(4)");
    auto* mods = child<ClickableLabel>("Label2(7)");
    QTest::mouseMove(cartes, cartes->rect().center());
    emit cartes->mouseMoved();
    EXPECT_TRUE(cartes->font().underline());
    EXPECT_FALSE(mods->font().underline());
    EXPECT_EQ(cartes->palette().color(QPalette::WindowText), QColor(41, 109, 193));
    EXPECT_EQ(mods->palette().color(QPalette::WindowText), QColor(0, 34, 128));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(child("Image8"), &move);
    EXPECT_FALSE(cartes->font().underline());
    EXPECT_EQ(cartes->palette().color(QPalette::WindowText), QColor(0, 34, 128));
}

TEST_F(Form1Test, ControlsCarryTheirTranslationKeys) {
    open();
    const std::pair<const char*, const char*> keys[] = {
        {"Label1", "Tools"},       {"Label34", "Options2"}, {"Label2(0)", "Startup"},
        {"Label2(2)", "Program"},  {"Label49", "About"},    {"Label55", "ZeroHour"},
        {"Label14", "TTOptions"},  {"Label22", "LangFile"}, {"UserControl15", "Choose"},
        {"UserControl16", "Save"}, {"Label2(5)", ""},       {"Label2(6)", ""},
    };
    for (const auto& [name, key] : keys)
        EXPECT_EQ(translationKey(child<QObject>(name)), QString::fromLatin1(key)) << name;
}

TEST_F(Form1Test, ProgramPageShowsAndStoresTheLanguageFile) {
    games = std::make_unique<GameSetup>();
    INIRuntime ini;
    const QString english = games->programFolder() + QStringLiteral("/English.lng");
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Language"), QStringLiteral("English"), english);
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Traductor"), QStringLiteral("Zeph"), english);
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Version"), QStringLiteral("2.2.5"), english);
    ini.WriteINI(QStringLiteral("LNG"), QStringLiteral("Save"), QStringLiteral("Save"),
                 games->programFolder() + QStringLiteral("/Bare.lng"));
    test::writeBytes(games->programFolder() + QStringLiteral("/notes.txt"), "x");
    window.reset(runStartup(QString()).mainWindow);
    click(child("Label2(2)"));

    auto* files = child<QListWidget>("File1");
    ASSERT_EQ(files->count(), 2);
    EXPECT_EQ(files->item(0)->text(), QStringLiteral("Bare.lng"));
    EXPECT_EQ(files->item(1)->text(), QStringLiteral("English.lng"));
    click(files->viewport());
    const QRect englishRow = files->visualItemRect(files->item(1));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, englishRow.center());
    EXPECT_EQ(child<QLabel>("Label39")->text(), QStringLiteral("English"));
    EXPECT_EQ(child<QLabel>("Label48")->text(), QStringLiteral("Zeph"));
    EXPECT_EQ(child<QLabel>("Label53")->text(), QStringLiteral("2.2.5"));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(child<QLabel>("Label39")->text(), QString()); // no section "Infos"

    // "Choisir" only shows the chosen path; "Enregistrer" stores the file selected in the list.
    dialogs.answerOpenFile(QStringLiteral("/elsewhere/Other.lng"));
    click(child("UserControl15"));
    EXPECT_EQ(child<QLineEdit>("Text6")->text(), QStringLiteral("/elsewhere/Other.lng"));
    EXPECT_EQ(dialogs.calls().back().filter, QStringLiteral("Fichiers LNG|*.lng"));
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, englishRow.center());
    click(child("UserControl16"));
    RegistryRuntime store(games->store());
    EXPECT_EQ(store.GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName")), english);
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_EQ(dialogs.messages().back().number, 0);
    EXPECT_EQ(dialogs.messages().back().style, 64);
}

TEST_F(Form1Test, SavingWithNoFileSelectedChoosesFrench) {
    open();
    RegistryRuntime(games->store())
        .SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"),
                    QStringLiteral("/old.lng"));
    click(child("Label2(2)"));
    click(child("UserControl16"));
    EXPECT_EQ(RegistryRuntime(games->store())
                  .GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName")),
              QString());
    EXPECT_EQ(dialogs.messages().back().number, 0);
}

TEST_F(Form1Test, AboutBoxNamesTheTranslatorOnlyWhenThereIsOne) {
    open();
    click(child("Label49"));
    const QString withoutTranslator = dialogs.calls().back().text;
    EXPECT_TRUE(withoutTranslator.startsWith(QStringLiteral("Marvok version 2.2.5\r\n\r\n")));
    EXPECT_FALSE(withoutTranslator.contains(QStringLiteral("Language file by")));
    EXPECT_TRUE(withoutTranslator.contains(QStringLiteral(
        "\r\n\r\nCommand & Conquer and EA GAMES are registered trademarks of Electronic Arts.\r\n\r\n"
        "This program uses the DevIL library, ")));
    EXPECT_EQ(dialogs.calls().back().style, 64);
    EXPECT_EQ(dialogs.calls().back().title, QStringLiteral("Marvok 2"));

    const QString french = games->programFolder() + QStringLiteral("/fr.lng");
    INIRuntime().WriteINI(QStringLiteral("Infos"), QStringLiteral("Traductor"), QStringLiteral("Zeph"),
                          french);
    environment().TradFileName = french;
    click(child("Label49"));
    const QStringList lines = dialogs.calls().back().text.split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("Language file by Zeph"));
    EXPECT_FALSE(lines[3].isEmpty()); // the notice follows at once
}
