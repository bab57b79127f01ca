#include "core/wine_registry.h"

#include "core/game_environment.h"
#include "tests/core/wine_prefix.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace marvok;
using namespace marvok::test;

namespace {

const QString kGenerals = QStringLiteral("SOFTWARE\\Electronic Arts\\EA Games\\Generals");

struct ValueCase {
    const char* entry; // the value's lines in the file
    const char* name;
    WineValueKind kind;
    QString text;
    qint32 number;
};

QString withNul(const QString& a, const QString& b) {
    return a + QChar(0) + b;
}

const std::vector<ValueCase>& valueCases() {
    static const std::vector<ValueCase> cases = {
        {R"("Plain"="C:\\Program Files\\x\\")", "plain", WineValueKind::String,
         QStringLiteral("C:\\Program Files\\x\\"), 0},
        {R"("Escapes"="say \"hi\"\tcaf\xe9 \x00e9t\x4e2d")", "Escapes", WineValueKind::String,
         QStringLiteral("say \"hi\"\tcaf\u00e9 \u00e9t\u4e2d"), 0},
        {R"("Octal"="a\0b")", "Octal", WineValueKind::String,
         withNul(QStringLiteral("a"), QStringLiteral("b")), 0},
        {R"("Expand"=str(2):"%SystemRoot%\\system32")", "Expand", WineValueKind::String,
         QStringLiteral("%SystemRoot%\\system32"), 0},
        {"\"HexExpand\"=hex(2):25,00,41,00,\\\n  25,00,00,00", "HexExpand", WineValueKind::String,
         withNul(QStringLiteral("%A%"), QString()), 0},
        {R"(@="default")", "", WineValueKind::String, QStringLiteral("default"), 0},
        {R"("Number"=dword:0000002a)", "Number", WineValueKind::Dword, QString(), 42},
        {R"("Negative"=dword:ffffffff)", "Negative", WineValueKind::Dword, QString(), -1},
        {R"("HexDword"=hex(4):2a,00,00,00)", "HexDword", WineValueKind::Dword, QString(), 42},
        {R"("Multi"=str(7):"a\0b\0")", "Multi", WineValueKind::Other, QString(), 0},
        {R"("Binary"=hex:01,02)", "Binary", WineValueKind::Other, QString(), 0},
        {R"("Qword"=hex(b):01,00,00,00,00,00,00,00)", "Qword", WineValueKind::Other, QString(), 0},
        {R"("BadDword"=dword:xyz)", "BadDword", WineValueKind::Other, QString(), 0},
        {R"("Unterminated"="abc)", "Unterminated", WineValueKind::Other, QString(), 0},
    };
    return cases;
}

QByteArray valueCasesFile() {
    QByteArray body = "[Software\\\\Test\\\\Key \\[1\\]] 1700000000\n#time=1da1b2c3d4e5f60\n";
    for (const ValueCase& c : valueCases())
        body += QByteArray(c.entry) + '\n';
    body += "\n[Software\\\\Test\\\\Next] 1700000001\n\"Plain\"=\"next\"\n";
    return wineRegistryText("Machine", Arch::Win64, body);
}

void expectValue(const WineRegistryFile& file, const ValueCase& c) {
    const auto value = file.value(QStringLiteral("\\software\\TEST\\key [1]\\"), QString::fromUtf8(c.name));
    ASSERT_TRUE(value.has_value()) << c.entry;
    EXPECT_EQ(value->kind, c.kind) << c.entry;
    EXPECT_EQ(value->text, c.text) << c.entry;
    EXPECT_EQ(value->number, c.number) << c.entry;
}

} // namespace

TEST(WineRegistryFile, ReadsWinesValueFormats) {
    const auto file = WineRegistryFile::parse(valueCasesFile());
    ASSERT_TRUE(file.has_value());
    EXPECT_TRUE(file->isWin64());
    for (const ValueCase& c : valueCases())
        expectValue(*file, c);
    // A block ends at the next key line.
    EXPECT_EQ(file->value(QStringLiteral("Software\\Test\\Next"), QStringLiteral("Plain"))->text,
              QStringLiteral("next"));
    EXPECT_FALSE(file->value(QStringLiteral("Software\\Test\\Next"), QStringLiteral("Number")));
    EXPECT_FALSE(file->value(QStringLiteral("Software\\Test\\Key [1]"), QStringLiteral("Missing")));
    EXPECT_FALSE(file->value(QStringLiteral("Software\\Test"), QStringLiteral("Plain")));
}

TEST(WineRegistryFile, ATruncatedFileGivesWhatItHolds) {
    const QByteArray full = valueCasesFile();
    for (qsizetype cut = 0; cut <= full.size(); ++cut) {
        const auto file = WineRegistryFile::parse(full.left(cut));
        if (!file)
            continue; // cut inside the first line
        for (const ValueCase& c : valueCases()) {
            if (full.indexOf(c.entry) + qsizetype(qstrlen(c.entry)) <= cut)
                expectValue(*file, c);
            else
                file->value(QStringLiteral("Software\\Test\\Key [1]"), QString::fromUtf8(c.name));
        }
    }
}

TEST(WineRegistryFile, RefusesWhatIsNotAWineRegistry) {
    const QByteArray notRegistries[] = {
        QByteArray(),
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n",
        "Windows Registry Editor Version 5.00\r\n",
        QByteArray("\x00\xFF\x13WINE REGISTRY Version 2\n", 27),
        "WINE REGISTRY Version 1\n",
    };
    for (const QByteArray& bytes : notRegistries) {
        QString error;
        EXPECT_FALSE(WineRegistryFile::parse(bytes, &error)) << bytes.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    // Nonsense lines inside a registry are skipped.
    const auto file = WineRegistryFile::parse("WINE REGISTRY Version 2\n[\n[unclosed\n\x01\x02=\"\n"
                                              "[Software\\\\K] 1\n\"V\"\n=\"x\"\n\"V\"=\"ok\"\n");
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->isWin64());
    EXPECT_EQ(file->value(QStringLiteral("Software\\K"), QStringLiteral("V"))->text, QStringLiteral("ok"));
}

TEST(WineRegistryFile, HugeFilesFifosAndFoldersAreNotRead) {
    TempFolder dir;
    QString error;
    EXPECT_FALSE(WineRegistryFile::load(dir.file(QStringLiteral("missing.reg")), &error));

    // A sparse file: large on paper, nothing on disk.
    QFile huge(dir.file(QStringLiteral("huge.reg")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write("WINE REGISTRY Version 2\n");
    ASSERT_TRUE(huge.resize(MaxWineRegistrySize + 1));
    huge.close();
    EXPECT_FALSE(WineRegistryFile::load(huge.fileName(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("too large"))) << error.toStdString();

    const QString fifo = dir.file(QStringLiteral("fifo.reg"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(WineRegistryFile::load(fifo));
    QDir().mkpath(dir.file(QStringLiteral("folder.reg")));
    EXPECT_FALSE(WineRegistryFile::load(dir.file(QStringLiteral("folder.reg"))));
}

TEST(WineRegistryFile, IsParsedOnceUntilItChanges) {
    TempFolder dir;
    const QString path = dir.file(QStringLiteral("system.reg"));
    writeBytes(path, wineRegistryText("Machine", Arch::Win32, "[Software\\\\K] 1\n\"V\"=\"one\"\n"));
    const auto first = WineRegistryFile::load(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(WineRegistryFile::load(path), first);
    writeBytes(path, wineRegistryText("Machine", Arch::Win32, "[Software\\\\K] 1\n\"V\"=\"second\"\n"));
    const auto second = WineRegistryFile::load(path);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->value(QStringLiteral("Software\\K"), QStringLiteral("V"))->text,
              QStringLiteral("second"));
}

TEST(WinePrefixValues, ThirtyTwoAndSixtyFourBitLayouts) {
    for (Arch arch : {Arch::Win32, Arch::Win64}) {
        WinePrefix prefix(arch);
        const QByteArray games = arch == Arch::Win64 ? "Software\\\\Wow6432Node\\\\Electronic Arts"
                                                     : "Software\\\\Electronic Arts";
        prefix.writeSystem("[" + games +
                           "\\\\EA Games\\\\Generals] 1700000000\n#time=1d\n"
                           "\"InstallPath\"=\"C:\\\\Games\\\\Generals\\\\\"\n\n"
                           "[Software\\\\Wow6432Node\\\\Only32] 1\n\"V\"=\"redirected\"\n\n"
                           "[Software\\\\Both] 1\n\"V\"=\"64-bit\"\n\n"
                           "[Software\\\\Wow6432Node\\\\Both] 1\n\"V\"=\"32-bit\"\n");
        prefix.writeUser(
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
            "\"Personal\"=\"C:\\\\users\\\\me\\\\Documents\"\n");
        const auto read = [&](WineRoot root, const QString& key, const char* name) {
            const auto value = readWineValue(prefix.path(), root, key, QString::fromUtf8(name));
            return value ? value->text : QStringLiteral("<absent>");
        };
        SCOPED_TRACE(arch == Arch::Win64 ? "win64" : "win32");
        EXPECT_EQ(read(WineRoot::LocalMachine, kGenerals, "InstallPath"),
                  QStringLiteral("C:\\Games\\Generals\\"));
        EXPECT_EQ(read(WineRoot::CurrentUser, ShellFoldersKey, "Personal"),
                  QStringLiteral("C:\\users\\me\\Documents"));
        EXPECT_EQ(read(WineRoot::CurrentUser, kGenerals, "InstallPath"), QStringLiteral("<absent>"));
        EXPECT_EQ(read(WineRoot::LocalMachine, ShellFoldersKey, "Personal"), QStringLiteral("<absent>"));
        // Only a 64-bit prefix redirects, and there the 32-bit view comes first.
        EXPECT_EQ(read(WineRoot::LocalMachine, QStringLiteral("Software\\Only32"), "V"),
                  arch == Arch::Win64 ? QStringLiteral("redirected") : QStringLiteral("<absent>"));
        EXPECT_EQ(read(WineRoot::LocalMachine, QStringLiteral("Software\\Both"), "V"),
                  arch == Arch::Win64 ? QStringLiteral("32-bit") : QStringLiteral("64-bit"));
        EXPECT_EQ(read(WineRoot::LocalMachine, QStringLiteral("Software\\Wow6432Node\\Both"), "V"),
                  QStringLiteral("32-bit"));
    }
    EXPECT_FALSE(readWineValue(QString(), WineRoot::LocalMachine, kGenerals, QStringLiteral("InstallPath")));
}

TEST(WinePrefixPaths, WindowsPathsBecomeFoldersOfThisFileSystem) {
    WinePrefix prefix;
    const QString games =
        prefix.makeFolder(QStringLiteral("Program Files (x86)/EA GAMES/Command & Conquer Generals"));
    const QString documents = prefix.makeFolder(QStringLiteral("users/Me/Documents"));
    writeBytes(prefix.path() + QStringLiteral("/a-file"), "x");
    prefix.linkDrive("d:", QStringLiteral("../nowhere"));
    prefix.linkDrive("e:", QStringLiteral("../a-file"));
    prefix.linkDrive("F:", QStringLiteral("../drive_c/users"));
    struct Case {
        const char* windows;
        QString linux;
    };
    const Case cases[] = {
        {"C:\\program files (x86)\\EA Games\\Command & Conquer Generals\\", games + u'/'},
        {"c:/Users/me/DOCUMENTS", documents},
        {"C:\\users\\me\\Documents\\Command and Conquer Generals Data\\",
         documents + QStringLiteral("/Command and Conquer Generals Data/")},
        {"C:\\users\\..\\..\\users\\.\\me\\Documents", documents},
        {"C:\\", prefix.driveC() + u'/'},
        {"C:", prefix.driveC()},
        {"f:\\ME", prefix.driveC() + QStringLiteral("/users/Me")},
        {"Z:\\", QStringLiteral("/")},
        {"  C:\\users  ", prefix.driveC() + QStringLiteral("/users")},
        {"D:\\Games", QString()}, // the link points nowhere
        {"E:\\Games", QString()}, // the link points at a file
        {"G:\\Games", QString()}, // no link
        {"C:users", QString()},
        {"\\\\server\\share\\Games", QString()},
        {"Games\\Generals", QString()},
        {"", QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(linuxPathInPrefix(prefix.path(), QString::fromUtf8(c.windows)), c.linux) << c.windows;

    TempFolder noDrives;
    EXPECT_EQ(linuxPathInPrefix(noDrives.path(), QStringLiteral("C:\\Games")), QString());
}

TEST(WinePrefixDefault, IsWinePrefixOrTheHomeWine) {
    WinePrefix prefix;
    TempFolder home;
    ScopedVariable homeVariable("HOME", QFile::encodeName(home.path()));
    {
        ScopedVariable wine("WINEPREFIX", QFile::encodeName(prefix.path()));
        EXPECT_EQ(defaultWinePrefix(), QString()); // no system.reg yet
        prefix.writeSystem(QByteArray());
        EXPECT_EQ(defaultWinePrefix(), prefix.path());
    }
    ScopedVariable wine("WINEPREFIX", QByteArray());
    EXPECT_EQ(defaultWinePrefix(), QString());
    writeBytes(home.file(QStringLiteral(".wine/system.reg")), "WINE REGISTRY Version 2\n");
    EXPECT_EQ(defaultWinePrefix(), home.file(QStringLiteral(".wine")));
}

TEST(RegistryRuntimeWithPrefix, TheStoreComesFirstAndEveryWriteGoesToIt) {
    WinePrefix prefix;
    prefix.writeSystem(
        "[Software\\\\Electronic Arts\\\\EA Games\\\\Generals] 1700000000\n"
        "\"InstallPath\"=\"C:\\\\Wine Generals\"\n\"Language\"=\"french\"\n"
        "\"Version\"=dword:00010008\n\"Kind\"=\"text\"\n\n"
        "[Software\\\\Quillon\\\\Marvok\\\\2.0] 1\n\"TradFileName\"=\"C:\\\\Marvok\\\\English.lng\"\n");
    prefix.writeUser("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n"
                     "\"Personal\"=\"C:\\\\users\\\\me\\\\Documents\"\n");
    const QByteArray systemBefore = readBytes(prefix.path() + QStringLiteral("/system.reg"));
    const QByteArray userBefore = readBytes(prefix.path() + QStringLiteral("/user.reg"));
    TempFolder dir;
    RegistryRuntime store(dir.file(QStringLiteral("registry.reg")), prefix.path());
    store.SaveString(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("InstallPath"),
                     QStringLiteral("/games/Generals"));
    store.SaveDword(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("Kind"), 7);

    QString from;
    EXPECT_EQ(store.GetString(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("InstallPath"), &from),
              QStringLiteral("/games/Generals"));
    EXPECT_EQ(from, QString());
    EXPECT_EQ(store.GetString(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("language"), &from),
              QStringLiteral("french"));
    EXPECT_EQ(from, prefix.path());
    EXPECT_EQ(store.GetDword(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("Version")), 0x10008);
    // The store has "Kind", as a number: the prefix's string is not looked at.
    EXPECT_EQ(store.GetString(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("Kind")), QString());
    EXPECT_EQ(store.GetString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal")),
              QStringLiteral("C:\\users\\me\\Documents"));
    // The program's own settings are never taken from a prefix.
    EXPECT_EQ(store.GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName")), QString());

    store.SaveString(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("Language"), QStringLiteral("english"));
    store.SaveString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal"),
                     QStringLiteral("/home/me"));
    store.DeleteValue(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("Language"));
    store.DeleteKey(HKEY_LOCAL_MACHINE, kGenerals);
    EXPECT_EQ(store.GetString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("Personal")),
              QStringLiteral("/home/me"));
    // Deleted from the store, the prefix's values show again; the prefix itself is untouched.
    EXPECT_EQ(store.GetString(HKEY_LOCAL_MACHINE, kGenerals, QStringLiteral("InstallPath")),
              QStringLiteral("C:\\Wine Generals"));
    EXPECT_EQ(readBytes(prefix.path() + QStringLiteral("/system.reg")), systemBefore);
    EXPECT_EQ(readBytes(prefix.path() + QStringLiteral("/user.reg")), userBefore);
}

namespace {

const QByteArray kShellFolders =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n";

// A 64-bit prefix with Generals and Zero Hour; The Battle for Middle-earth and AppData are in the store.
struct PrefixGames {
    WinePrefix prefix{Arch::Win64};
    TempFolder dir;
    RegistryRuntime store{dir.file(QStringLiteral("registry.reg")), prefix.path()};
    QString generals =
        prefix.makeFolder(QStringLiteral("Program Files (x86)/EA GAMES/Command & Conquer Generals"));
    QString zeroHour = prefix.makeFolder(
        QStringLiteral("Program Files (x86)/EA GAMES/Command & Conquer Generals Zero Hour"));
    QString documents = prefix.makeFolder(QStringLiteral("users/me/Documents"));
    QString generalsData =
        prefix.makeFolder(QStringLiteral("users/me/Documents/Command and Conquer Generals Data/replays"));

    PrefixGames() {
        prefix.writeSystem(
            "[Software\\\\Wow6432Node\\\\Electronic Arts\\\\EA Games\\\\Generals] 1700000000\n"
            "#time=1da1b2c3d4e5f60\n"
            "\"InstallPath\"=\"C:\\\\Program Files (x86)\\\\EA Games\\\\Command & Conquer Generals\\\\\"\n\n"
            "[Software\\\\Wow6432Node\\\\Electronic Arts\\\\EA Games\\\\Command and Conquer Generals Zero "
            "Hour] 1\n"
            "\"InstallPath\"=\"C:\\\\Program Files (x86)\\\\EA Games\\\\Command & Conquer Generals Zero "
            "Hour\\\\\"\n"
            "\"UserDataLeafName\"=\"Command and Conquer Generals Zero Hour Data\"\n");
        prefix.writeUser(kShellFolders + "\"Personal\"=\"C:\\\\users\\\\me\\\\Documents\"\n"
                                         "\"AppData\"=\"C:\\\\users\\\\me\\\\AppData\\\\Roaming\"\n");
        store.SaveString(HKEY_LOCAL_MACHINE, gameRegistryKey(BattleForMiddleEarth),
                         QStringLiteral("InstallPath"), dir.file(QStringLiteral("BFME")));
        store.SaveString(HKEY_LOCAL_MACHINE, gameRegistryKey(BattleForMiddleEarth),
                         QStringLiteral("UserDataLeafName"), QStringLiteral("My BFME Files"));
        store.SaveString(HKEY_CURRENT_USER, ShellFoldersKey, QStringLiteral("AppData"),
                         dir.file(QStringLiteral("AppData")));
    }
};

} // namespace

TEST(GameEnvironmentFromPrefix, GamesAndPlayerFoldersPointAtRealFolders) {
    PrefixGames games;
    GameEnvironment env;
    readInstallFolders(games.store, env);
    composePlayerFolders(games.store, env);
    EXPECT_EQ(env.InstallFolder[Generals], games.generals + u'/');
    EXPECT_EQ(env.InstallFolder[ZeroHour], games.zeroHour + u'/');
    EXPECT_EQ(env.InstallFolder[BattleForMiddleEarth], games.dir.file(QStringLiteral("BFME")));
    EXPECT_EQ(env.PrefixOf,
              (std::array<QString, GameCount>{games.prefix.path(), games.prefix.path(), QString()}));

    // The folders the games made keep their spelling; those still to come get ours.
    EXPECT_EQ(env.ReplaysFolder[Generals], games.generalsData + u'/');
    EXPECT_EQ(env.MapsFolder[Generals],
              games.documents + QStringLiteral("/Command and Conquer Generals Data/Maps/"));
    EXPECT_EQ(env.ReplaysFolder[ZeroHour],
              games.documents + QStringLiteral("/Command and Conquer Generals Zero Hour Data/Replays/"));
    EXPECT_EQ(env.ReplaysFolder[BattleForMiddleEarth],
              games.dir.file(QStringLiteral("AppData/My BFME Files/Replays/")));
    EXPECT_EQ(env.PlayerFoldersPrefixOf,
              (std::array<QString, GameCount>{games.prefix.path(), games.prefix.path(), QString()}));
}

TEST(GameEnvironmentFromPrefix, WhatCannotBeReadCountsAsAbsent) {
    const auto breakings = std::vector<std::pair<const char*, std::function<void(PrefixGames&)>>>{
        {"system.reg is garbage",
         [](PrefixGames& g) {
             writeBytes(g.prefix.path() + QStringLiteral("/system.reg"), QByteArray(5000, '\xFF'));
         }},
        {"system.reg is cut inside the values",
         [](PrefixGames& g) {
             const QByteArray text = readBytes(g.prefix.path() + QStringLiteral("/system.reg"));
             writeBytes(g.prefix.path() + QStringLiteral("/system.reg"),
                        text.left(text.indexOf("EA Games\\\\Command & Conquer Generals\\\\\"")));
         }},
        {"no dosdevices",
         [](PrefixGames& g) { QDir(g.prefix.path() + QStringLiteral("/dosdevices")).removeRecursively(); }},
        {"C: points nowhere", [](PrefixGames& g) { g.prefix.linkDrive("c:", QStringLiteral("../gone")); }},
        {"the game folders are gone",
         [](PrefixGames& g) {
             QDir(g.prefix.driveC() + QStringLiteral("/Program Files (x86)")).removeRecursively();
         }},
    };
    for (const auto& [what, breakPrefix] : breakings) {
        SCOPED_TRACE(what);
        PrefixGames games;
        breakPrefix(games);
        GameEnvironment env;
        readInstallFolders(games.store, env);
        composePlayerFolders(games.store, env);
        EXPECT_EQ(env.InstallFolder[Generals], QString());
        EXPECT_EQ(env.PrefixOf[Generals], QString());
        EXPECT_EQ(env.InstallFolder[BattleForMiddleEarth], games.dir.file(QStringLiteral("BFME")));
        for (int game = 0; game < GameCount; ++game)
            EXPECT_FALSE(env.ReplaysFolder[game].isEmpty());
    }
    // Without user.reg, the player's folders of the prefix are absent and come out shortened.
    PrefixGames games;
    QFile::remove(games.prefix.path() + QStringLiteral("/user.reg"));
    GameEnvironment env;
    composePlayerFolders(games.store, env);
    EXPECT_EQ(env.ReplaysFolder[Generals], QStringLiteral("Command and Conquer Generals Data/Replays/"));
    EXPECT_EQ(env.PlayerFoldersPrefixOf[Generals], QString());
}
