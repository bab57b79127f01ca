#include "core/paths.h"

#include "tests/core/wine_prefix.h"
#include "tests/support/test_files.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::TempFolder;

TEST(Paths, JoinPutsExactlyOneSeparator) {
    struct Case {
        const char* folder;
        const char* relative;
        const char* joined;
    };
    const Case cases[] = {
        {"/games/Generals", "generals.exe", "/games/Generals/generals.exe"},
        {"/games/Generals/", "generals.exe", "/games/Generals/generals.exe"},
        {"/games/Generals", "\\GenShellMaps.ini", "/games/Generals/GenShellMaps.ini"},
        {"/games/Generals//", "Maps\\ShellMap1", "/games/Generals/Maps/ShellMap1"},
        {"/prog", "\\tmp\\", "/prog/tmp/"},
        {"/", "etc", "/etc"},
        {"", "Maps\\X", "Maps/X"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(joinPath(QString::fromUtf8(c.folder), QString::fromUtf8(c.relative)),
                  QString::fromUtf8(c.joined))
            << c.folder << " + " << c.relative;
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a")), QStringLiteral("/a/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/")), QStringLiteral("/a/"));
}

TEST(Paths, ListingMatchesPatternsWithoutCaseInFixedOrder) {
    TempFolder dir;
    for (const char* name :
         {"b.REP", "A.rep", "c.txt", ".hidden.rep", "a.rep.bak", "Pic.JPG", "pic2.gif", "noext"})
        test::writeBytes(dir.file(QString::fromUtf8(name)), "x");
    QDir(dir.path()).mkdir(QStringLiteral("folder.rep"));

    EXPECT_EQ(listFolder(dir.path(), QStringLiteral("*.rep"), EntryKind::Files),
              QStringList({QStringLiteral("A.rep"), QStringLiteral("b.REP")}));
    EXPECT_EQ(listFolder(dir.path(), QStringLiteral("*.rep"), EntryKind::Files, true),
              QStringList({QStringLiteral(".hidden.rep"), QStringLiteral("A.rep"), QStringLiteral("b.REP")}));
    EXPECT_EQ(listFolder(dir.path(), QStringLiteral("*.rep"), EntryKind::Folders),
              QStringList({QStringLiteral("folder.rep")}));
    EXPECT_EQ(listFolder(dir.path(), QStringLiteral("*.jpg;*.gif;*.bmp;*.jpeg"), EntryKind::Files),
              QStringList({QStringLiteral("Pic.JPG"), QStringLiteral("pic2.gif")}));
    EXPECT_EQ(listFolder(dir.path(), QStringLiteral("*.*"), EntryKind::FilesAndFolders).size(), 8);
    EXPECT_TRUE(
        listFolder(dir.path(), QStringLiteral("*.*"), EntryKind::Files).contains(QStringLiteral("noext")));
    EXPECT_TRUE(
        listFolder(dir.file(QStringLiteral("missing")), QStringLiteral("*.*"), EntryKind::Files).isEmpty());
}

TEST(Paths, NamesAreFoundWithoutCase) {
    TempFolder dir;
    test::writeBytes(dir.file(QStringLiteral("Maps/ShellMapMD/shellmapmd.MAP")), "x");

    EXPECT_EQ(findEntryIgnoringCase(dir.path(), QStringLiteral("maps")), QStringLiteral("Maps"));
    EXPECT_EQ(findEntryIgnoringCase(dir.path(), QStringLiteral("nothing")), QString());
    EXPECT_EQ(existingPathIgnoringCase(dir.path(), QStringLiteral("MAPS\\shellmapmd\\ShellMapMD.map")),
              dir.path() + QStringLiteral("/Maps/ShellMapMD/shellmapmd.MAP"));
    EXPECT_EQ(existingPathIgnoringCase(dir.path(), QStringLiteral("maps/other")), QString());
    // Parts that exist take their spelling on disk; new parts keep theirs.
    EXPECT_EQ(resolvePathIgnoringCase(dir.path(), QStringLiteral("maps/NewMap/NewMap.map")),
              dir.path() + QStringLiteral("/Maps/NewMap/NewMap.map"));
}

TEST(ProgramFolder, IsMarvokHomeElseTheUsersDataFolderForAnInstalledProgram) {
    // The tests run from a folder without the delivered files, as an installed program does.
    ASSERT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/soptions.ini")));
    TempFolder home;
    test::ScopedVariable homeVariable("HOME", QFile::encodeName(home.path()));
    test::ScopedVariable marvokHome("MARVOK_HOME", "/opt/marvok-home/");
    EXPECT_EQ(programFolder(), QStringLiteral("/opt/marvok-home"));
    qputenv("MARVOK_HOME", QByteArray());
    {
        test::ScopedVariable data("XDG_DATA_HOME", "/data");
        EXPECT_EQ(programFolder(), QStringLiteral("/data/marvok"));
    }
    for (const char* ignored : {"", "relative/data"}) {
        test::ScopedVariable data("XDG_DATA_HOME", ignored);
        EXPECT_EQ(programFolder(), home.path() + QStringLiteral("/.local/share/marvok"));
    }
    // Not installed: there are no defaults to seed from, and nothing is made.
    EXPECT_TRUE(seedProgramFolder());
    EXPECT_FALSE(QFileInfo::exists(home.file(QStringLiteral(".local"))));
}
