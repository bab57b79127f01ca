#include "core/paths.h"
#include "install/zip_archive.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_demo.h"
#include "shellmaps/shellmap_install.h"
#include "shellmaps/shellmaps_page.h"
#include "tests/shellmaps/shellmap_fixture.h"

#include <QImage>
#include <QListWidget>

using namespace marvok;
using marvok::test::ShellMapTest;

TEST_F(ShellMapTest, TheDemoContentIsListedAndReadyToInstall) {
    const std::array<QString, GameCount> installs = {install(Generals), install(ZeroHour),
                                                     install(BattleForMiddleEarth)};
    const QString archives = joinPath(games.folder(), QStringLiteral("Téléchargements"));
    QString error;
    ASSERT_TRUE(addShellMapDemoContent(games.programFolder(), installs, archives, &error))
        << error.toStdString();

    QWidget panel;
    panel.resize(660, 470);
    ShellMapsPage page(&panel);
    auto* list = panel.findChild<QListWidget*>(QStringLiteral("ListView1"));
    const std::pair<GameKind, int> expected[] = {{Generals, 2}, {ZeroHour, 1}, {BattleForMiddleEarth, 0}};
    for (const auto& [game, count] : expected) {
        page.ListShellMaps(game);
        ASSERT_EQ(list->count(), count);
        for (int row = 0; row < count; ++row) {
            const CatalogueEntry entry = readCatalogueEntry(cataloguePath(game), row);
            EXPECT_FALSE(entry.name.isEmpty());
            EXPECT_FALSE(entry.description.isEmpty());
            EXPECT_EQ(QImage(entry.screenShot).size(), QSize(320, 200)) << entry.screenShot.toStdString();
            EXPECT_TRUE(entry.screenShot.startsWith(joinPath(install(game), entryFolderName(row))));
            EXPECT_NE(shellMapKindOf(joinPath(install(game), entryFolderName(row))), ShellMapKind::Unknown);
        }
    }

    const std::pair<const char*, ShellMapKind> zips[] = {
        {"ShellMap Generals - Canyon.zip", ShellMapKind::Generals},
        {"ShellMap Heure H - Banquise.zip", ShellMapKind::ZeroHour},
    };
    for (const auto& [name, kind] : zips) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(unpackIntoTemporaryFolder(joinPath(archives, QString::fromLatin1(name)), {}));
        EXPECT_EQ(shellMapKindOf(temporaryFolder()), kind);
        const QStringList images = listImages(temporaryFolder());
        ASSERT_FALSE(images.isEmpty());
        EXPECT_FALSE(QImage(joinPath(temporaryFolder(), images.first())).isNull());
    }
}
