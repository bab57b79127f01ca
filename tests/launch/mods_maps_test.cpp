#include "launch/installed_maps.h"
#include "launch/mods.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::TempFolder;

TEST(Mods, TheGamesOwnArchivesAreLeftOut) {
    TempFolder dir;
    for (const char* name : {"music.big", "Audio.big", "MyMod.big", "INIZH.big", "readme.txt", "Other.BIG"})
        test::writeBytes(dir.file(QString::fromLatin1(name)), "BIGF");
    QDir(dir.path()).mkdir(QStringLiteral("Folder.big"));
    EXPECT_EQ(
        listModArchives(dir.path(), Generals),
        QStringList({QStringLiteral("INIZH.big"), QStringLiteral("MyMod.big"), QStringLiteral("Other.BIG")}));
    EXPECT_EQ(
        listModArchives(dir.path(), ZeroHour),
        QStringList({QStringLiteral("Audio.big"), QStringLiteral("MyMod.big"), QStringLiteral("Other.BIG")}));
    EXPECT_EQ(
        listModArchives(dir.path(), BattleForMiddleEarth),
        QStringList({QStringLiteral("INIZH.big"), QStringLiteral("MyMod.big"), QStringLiteral("Other.BIG")}));
    EXPECT_TRUE(ownArchives(Generals).startsWith(QStringLiteral(";Audio.big;;AudioFrench.big;")));
    EXPECT_TRUE(ownArchives(Generals).endsWith(QStringLiteral(";Gensec.big;")));
    EXPECT_TRUE(listModArchives(QString(), Generals).isEmpty());
}

TEST(InstalledMaps, NamesWithoutADotAreMaps) {
    TempFolder dir;
    QDir(dir.path()).mkpath(QStringLiteral("Alpine Assault"));
    QDir(dir.path()).mkpath(QStringLiteral("my.map.folder"));
    test::writeBytes(dir.file(QStringLiteral("NoExtension")), "x");
    test::writeBytes(dir.file(QStringLiteral("readme.txt")), "x");
    EXPECT_EQ(listInstalledMaps(dir.path() + u'/'),
              QStringList({QStringLiteral("Alpine Assault"), QStringLiteral("NoExtension")}));
    EXPECT_TRUE(listInstalledMaps(dir.file(QStringLiteral("missing"))).isEmpty());
}

TEST(InstalledMaps, DeletionStaysInsideTheMapsFolder) {
    TempFolder dir;
    const QString maps = dir.file(QStringLiteral("Maps"));
    test::writeBytes(maps + QStringLiteral("/Defcon6/Defcon6.map"), "map");
    test::writeBytes(maps + QStringLiteral("/Defcon6/sub/readonly.tga"), "tga");
    QFile::setPermissions(maps + QStringLiteral("/Defcon6/sub/readonly.tga"), QFile::ReadOwner);
    QFile::setPermissions(maps + QStringLiteral("/Defcon6/sub"), QFile::ReadOwner | QFile::ExeOwner);
    test::writeBytes(dir.file(QStringLiteral("precious/keep.txt")), "keep");
    ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("precious")), maps + QStringLiteral("/Linked")));

    QString error;
    EXPECT_TRUE(deleteInstalledMap(maps, QStringLiteral("Defcon6"), &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(maps + QStringLiteral("/Defcon6")));
    // A link is removed as a link: what it points to stays.
    EXPECT_TRUE(deleteInstalledMap(maps, QStringLiteral("Linked"), &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("precious/keep.txt"))));
    for (const char* outside : {"..", ".", "../precious", "", "a/b", "Missing"}) {
        EXPECT_FALSE(deleteInstalledMap(maps, QString::fromLatin1(outside), &error)) << outside;
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("precious/keep.txt"))));
}
