#include "app/demo_environment.h"
#include "app/form1.h"
#include "app/startup.h"
#include "core/game_environment.h"
#include "core/paths.h"
#include "tests/support/test_files.h"

#include <QFileInfo>
#include <QListWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace marvok;

// The demo environment is made anew each time and the program starts on it with every page filled.
TEST(DemoEnvironment, IsMadeAnewAndTheProgramStartsOnIt) {
    test::TempFolder dir;
    const QString root = dir.file(QStringLiteral("demo"));
    QString error;
    ASSERT_TRUE(demo::makeDemoEnvironment(root, QStringLiteral(MARVOK_DELIVERED_DIR), &error))
        << error.toStdString();
    test::writeBytes(root + QStringLiteral("/stale.txt"), "x");
    ASSERT_TRUE(demo::makeDemoEnvironment(root, QStringLiteral(MARVOK_DELIVERED_DIR), &error))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/stale.txt")));

    const demo::DemoFolders folders = demo::foldersBelow(root);
    EXPECT_TRUE(QFileInfo(joinPath(folders.root, QStringLiteral("runner.sh"))).isExecutable());
    const QByteArray savedRegistry = qgetenv("MARVOK_REGISTRY");
    const QByteArray savedHome = qgetenv("MARVOK_HOME");
    qputenv("MARVOK_REGISTRY", folders.registry.toLocal8Bit());
    qputenv("MARVOK_HOME", folders.program.toLocal8Bit());
    environment() = GameEnvironment{};
    std::unique_ptr<Form1> window(runStartup(QString()).mainWindow);
    ASSERT_NE(window, nullptr);
    for (int game = 0; game < GameCount; ++game)
        EXPECT_EQ(environment().InstallFolder[game], folders.install[game]);
    EXPECT_EQ(environment().ReplaysFolder[ZeroHour],
              joinPath(folders.userData[ZeroHour], QStringLiteral("Replays/")));
    EXPECT_GT(window->findChild<QListWidget*>(QStringLiteral("List2"))->count(), 0);
    EXPECT_GT(window->findChild<QListWidget*>(QStringLiteral("ListView2"))->count(), 0);

    window.reset();
    environment() = GameEnvironment{};
    qputenv("MARVOK_REGISTRY", savedRegistry);
    qputenv("MARVOK_HOME", savedHome);
    createServices();
}
