#include "app/form1.h"
#include "app/startup.h"
#include "core/scripted_dialogs.h"
#include "tests/app/app_fixture.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;
using marvok::test::GameSetup;

TEST(Dispatch, FirstMatchingSwitchWins) {
    struct Case {
        const char* commandLine; // lower-cased already
        StartupBranch branch;
        int game;
    };
    const Case cases[] = {
        {"/launch /bfme", StartupBranch::Launch, BattleForMiddleEarth},
        {"/launch /gen", StartupBranch::Launch, Generals},
        {"/launch /zh", StartupBranch::Launch, ZeroHour},
        {"/launch /gen /zh", StartupBranch::Launch, ZeroHour},
        {"/zh /bfme /launch", StartupBranch::Launch, ZeroHour},
        {"/launch /genlanfile", StartupBranch::Launch, Generals}, // "/gen" is in "/genlanfile"
        {"/launch", StartupBranch::MainWindow, -1},
        {"/launch /xyz", StartupBranch::MainWindow, -1},
        {"/genlanfile", StartupBranch::GenerateLanguageFile, -1},
        {"/genlanfile extra", StartupBranch::GenerateLanguageFile, -1},
        {"\"/home/me/maps pack.zip\"", StartupBranch::Install, -1},
        {"/zh", StartupBranch::Install, -1},
        {"", StartupBranch::MainWindow, -1},
    };
    for (const Case& c : cases) {
        int game = -1;
        EXPECT_EQ(dispatchBranch(QString::fromUtf8(c.commandLine), &game), c.branch) << c.commandLine;
        EXPECT_EQ(game, c.game) << c.commandLine;
    }
}

TEST(Dispatch, CommandLineIsLowerCasedAndKeptAsTyped) {
    GameSetup games;
    const StartupResult result =
        runStartup(commandLineFromArguments({QStringLiteral("/LAUNCH"), QStringLiteral("/XYZ")}));
    std::unique_ptr<Form1> window(result.mainWindow);
    EXPECT_EQ(environment().CommandLine, QStringLiteral("/launch /xyz"));
    EXPECT_EQ(environment().CommandLineAsTyped, QStringLiteral("/LAUNCH /XYZ"));
    EXPECT_EQ(commandLineFromArguments({QStringLiteral("/home/me/Map Pack.zip")}),
              QStringLiteral("\"/home/me/Map Pack.zip\""));
}

TEST(Startup, NoGameShowsMessage16AndOpensNoWindow) {
    GameSetup games({});
    ScriptedDialogService dialogs;
    const StartupResult result = runStartup(QString());
    EXPECT_FALSE(result.windowOpened);
    EXPECT_EQ(result.mainWindow, nullptr);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].number, 16);
    EXPECT_EQ(dialogs.messages()[0].title, QStringLiteral("Erreur"));
    EXPECT_EQ(dialogs.messages()[0].style, 16);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return w->isVisible(); }));
}

TEST(Startup, ComposesThePlayerFoldersOfAllThreeGames) {
    GameSetup games({BattleForMiddleEarth});
    const StartupResult result = runStartup(QString());
    std::unique_ptr<Form1> window(result.mainWindow);
    const GameEnvironment& env = environment();
    EXPECT_EQ(env.CurrentGame, Generals);
    EXPECT_EQ(env.InstallFolder[Generals], QString());
    EXPECT_EQ(env.InstallFolder[BattleForMiddleEarth], games.installFolder(BattleForMiddleEarth));
    const QString documents = games.folder() + QStringLiteral("/Documents/");
    EXPECT_EQ(env.ReplaysFolder[Generals],
              documents + QStringLiteral("Command and Conquer Generals Data/Replays/"));
    EXPECT_EQ(env.MapsFolder[ZeroHour], documents + QStringLiteral("Zero Hour Data/Maps/"));
    EXPECT_EQ(env.ReplaysFolder[BattleForMiddleEarth],
              games.folder() + QStringLiteral("/AppData/BFME Files/Replays/"));
}

TEST(Startup, ReadsTheLanguageFileSetting) {
    GameSetup games;
    RegistryRuntime(games.store())
        .SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"),
                    QStringLiteral("/x/English.lng"));
    const StartupResult result = runStartup(QString());
    std::unique_ptr<Form1> window(result.mainWindow);
    EXPECT_EQ(environment().TradFileName, QStringLiteral("/x/English.lng"));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
}
