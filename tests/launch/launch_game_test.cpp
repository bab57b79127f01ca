#include "launch/launch_game.h"
#include "launch/startup_options.h"
#include "tests/app/app_fixture.h"
#include "tests/core/wine_prefix.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::GameSetup;

namespace {

void store(const GameSetup& games, const QString& name, const QString& value) {
    RegistryRuntime(games.store()).SaveString(HKEY_LOCAL_MACHINE, SettingsKey, name, value);
}

} // namespace

TEST(StartupOptions, SplitAndTickRules) {
    EXPECT_EQ(splitOptionNames(QString()), QStringList());
    EXPECT_EQ(splitOptionNames(QStringLiteral("a,,b")),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("b")}));
    EXPECT_EQ(splitOptionNames(QStringLiteral(" a ,")), QStringList({QStringLiteral(" a "), QString()}));
    EXPECT_TRUE(isOptionTicked(QStringLiteral("shaders"), QStringLiteral(" -noshaders")));
    EXPECT_FALSE(isOptionTicked(QStringLiteral("Win"), QStringLiteral(" -win")));
    const QStringList names = {QStringLiteral("noshellmap"), QString(), QStringLiteral("noaudio")};
    EXPECT_EQ(storedOptionsValue(names, {true, true, true}), QStringLiteral(" -noshellmap - -noaudio"));
    EXPECT_EQ(storedOptionsValue(names, {false, false, false}), QString());
}

TEST(LaunchCommandLine, IsBuiltAsTheGameExpectsIt) {
    GameSetup games;
    createServices(games.store());
    environment().InstallFolder = {QStringLiteral("C:\\Gen\\"), QStringLiteral("/zh/"),
                                   QStringLiteral("/bfme")};
    struct Case {
        GameKind game;
        const char* options;
        const char* mod;
        const char* commandLine;
    };
    const Case cases[] = {
        {ZeroHour, " -noshellmap", "X.big", "\"/zh/generals.exe\"  -noshellmap -mod X.big"},
        {ZeroHour, "", "", "\"/zh/generals.exe\" "},
        {BattleForMiddleEarth, "", "Mod.big", "\"/bfme/lotrbfme.exe\"  -mod Mod.big"},
        {Generals, " -win -", "", "\"C:\\Gen\\/generals.exe\"  -win -"},
    };
    for (const Case& c : cases) {
        store(games, optionsValueName(c.game), QString::fromUtf8(c.options));
        store(games, modValueName(c.game), QString::fromUtf8(c.mod));
        EXPECT_EQ(buildLaunchCommandLine(c.game, environment(), registry()),
                  QString::fromUtf8(c.commandLine));
    }
    const LaunchPlan plan =
        launchPlan(QStringLiteral("\"/zh/game dir/generals.exe\"  -noshellmap - -mod X.big"));
    EXPECT_EQ(plan.arguments,
              QStringList({QStringLiteral("/zh/game dir/generals.exe"), QStringLiteral("-noshellmap"),
                           QStringLiteral("-"), QStringLiteral("-mod"), QStringLiteral("X.big")}));
}

TEST(LaunchGame, StartsTheRunnerWithTheExecutableAndSwitches) {
    GameSetup games;
    createServices(games.store());
    readInstallFolders(registry(), environment());
    test::writeBytes(games.installFolder(ZeroHour) + QStringLiteral("/Generals.EXE"), "MZ");
    const QString record = games.folder() + QStringLiteral("/arguments.txt");
    const QString runner = games.folder() + QStringLiteral("/runner.sh");
    test::writeBytes(runner, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" +
                                 record.toUtf8() + ".part\"\nmv \"" + record.toUtf8() + ".part\" \"" +
                                 record.toUtf8() + "\"\n");
    QFile::setPermissions(runner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("MARVOK_RUNNER", runner.toLocal8Bit());
    store(games, optionsValueName(ZeroHour), QStringLiteral(" -noshellmap -win"));
    store(games, modValueName(ZeroHour), QStringLiteral("My Mod.big"));

    QString error;
    EXPECT_TRUE(LaunchGame(ZeroHour, &error)) << error.toStdString();
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(record) && waited.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_EQ(test::readBytes(record), QByteArray(games.installFolder(ZeroHour).toUtf8() +
                                                  "/Generals.EXE\n-noshellmap\n-win\n-mod\nMy\nMod.big\n"));

    // A missing executable or runner fails at once.
    EXPECT_FALSE(LaunchGame(Generals, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("generals.exe")));
    qputenv("MARVOK_RUNNER", "/no/such/runner");
    EXPECT_FALSE(LaunchGame(ZeroHour, &error));
    qunsetenv("MARVOK_RUNNER");
}

namespace {

// A runner that writes the WINEPREFIX it was given and then its arguments, one a line, to `record`.
QString writeRecordingRunner(const QString& folder, const QString& record) {
    const QString runner = folder + QStringLiteral("/prefix-runner.sh");
    const QByteArray to = QFile::encodeName(record);
    test::writeBytes(
        runner, "#!/bin/sh\n{ printf 'WINEPREFIX=%s\\n' \"$WINEPREFIX\"; for a in \"$@\"; do printf '%s\\n' "
                "\"$a\"; done; } > \"" +
                    to + ".part\"\nmv \"" + to + ".part\" \"" + to + "\"\n");
    QFile::setPermissions(runner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return runner;
}

QByteArray takeRecord(const QString& record) {
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(record) && waited.elapsed() < 10000)
        QThread::msleep(20);
    const QByteArray bytes = test::readBytes(record);
    QFile::remove(record);
    return bytes;
}

} // namespace

TEST(LaunchGame, StartsAGameOfAWinePrefixInThatPrefix) {
    GameSetup games({BattleForMiddleEarth});
    test::writeBytes(games.installFolder(BattleForMiddleEarth) + QStringLiteral("/lotrbfme.exe"), "MZ");
    test::WinePrefix prefix(test::Arch::Win32);
    const QString zeroHour =
        prefix.makeFolder(QStringLiteral("Program Files/EA Games/Command & Conquer Generals Zero Hour"));
    test::writeBytes(zeroHour + QStringLiteral("/generals.exe"), "MZ");
    prefix.writeSystem(
        "[Software\\\\Electronic Arts\\\\EA Games\\\\Command and Conquer Generals Zero Hour] 1\n"
        "\"InstallPath\"=\"C:\\\\Program Files\\\\EA Games\\\\Command & Conquer Generals Zero Hour\"\n");
    test::ScopedVariable wine("WINEPREFIX", QFile::encodeName(prefix.path()));
    createServices(games.store());
    readInstallFolders(registry(), environment());
    ASSERT_EQ(environment().PrefixOf[ZeroHour], prefix.path());

    const QString record = games.folder() + QStringLiteral("/record.txt");
    test::ScopedVariable runner("MARVOK_RUNNER",
                                QFile::encodeName(writeRecordingRunner(games.folder(), record)));
    // The game's own prefix, whatever the program was started with.
    test::ScopedVariable other("WINEPREFIX", "/some/other/prefix");
    QString error;
    ASSERT_TRUE(LaunchGame(ZeroHour, &error)) << error.toStdString();
    EXPECT_EQ(takeRecord(record), "WINEPREFIX=" + QFile::encodeName(prefix.path()) + "\n" +
                                      QFile::encodeName(zeroHour) + "/generals.exe\n");
    // A game of the settings store runs in whatever prefix the program was given.
    ASSERT_TRUE(LaunchGame(BattleForMiddleEarth, &error)) << error.toStdString();
    EXPECT_EQ(takeRecord(record), "WINEPREFIX=/some/other/prefix\n" +
                                      QFile::encodeName(games.installFolder(BattleForMiddleEarth)) +
                                      "/lotrbfme.exe\n");
}
