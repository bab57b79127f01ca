#include "replays/replay_demo.h"

#include "replays/replay_list.h"
#include "replays/replay_players.h"
#include "tests/support/test_files.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace marvok;

// Each game gets a few replays that the list reads back whole, and together they show every kind
// of player the page can draw.
TEST(ReplayDemo, EachGameGetsReplaysWithEveryKindOfPlayer) {
    for (GameKind game : {Generals, ZeroHour, BattleForMiddleEarth}) {
        SCOPED_TRACE(int(game));
        test::TempFolder dir;
        const QString folder = dir.file(QStringLiteral("Replays"));
        QString error;
        ASSERT_TRUE(addReplayDemoContent(folder, game, &error)) << error.toStdString();

        const QList<ReplayRow> rows = listReplays(folder);
        ASSERT_GE(rows.size(), 3);
        QSet<int> images;
        QSet<QString> texts;
        bool openSlot = false;
        bool closedSlot = false;
        for (const ReplayRow& row : rows) {
            EXPECT_FALSE(row.version.isEmpty());
            EXPECT_FALSE(row.map.isEmpty());
            EXPECT_NE(row.players.toInt(), 0);
            EXPECT_TRUE(row.date.endsWith(QStringLiteral("/2024")));
            const QList<QByteArray> entries = row.slotList.split(':');
            openSlot = openSlot || entries.contains("O");
            closedSlot = closedSlot || entries.contains("X");
            const PlayersTree tree = buildPlayersTree(row.slotList, game);
            EXPECT_EQ(tree.playerCount, row.players.toInt());
            for (const PlayerNode& node : tree.nodes.mid(11)) {
                images.insert(node.image);
                texts.insert(node.parentKey + u'>' + node.text.section(u' ', 0, 1));
            }
        }
        EXPECT_TRUE(openSlot);
        EXPECT_TRUE(closedSlot);
        EXPECT_TRUE(texts.contains(QStringLiteral("obs>Marc"))) << "an observer";
        bool teamed = false;
        for (const QString& text : texts)
            teamed = teamed || text.startsWith(QStringLiteral("Team 1>"));
        EXPECT_TRUE(teamed);
        for (const char* difficulty : {"IA Facile", "IA Moyen", "IA Difficile"}) {
            const QString name = QString::fromUtf8(difficulty);
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const QString& t) {
                return t.section(u'>', 1).startsWith(name);
            })) << difficulty;
        }
        if (game == ZeroHour) { // the generals are drawn in their side's colour
            EXPECT_TRUE(images.contains(PlayerImage::Blue) && images.contains(PlayerImage::Red) &&
                        images.contains(PlayerImage::Green));
        }
    }
}
