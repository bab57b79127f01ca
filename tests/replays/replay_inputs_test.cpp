// A replays folder far beyond what a player keeps, listed in bounded time and memory.
#include "replays/replay_list.h"

#include "replays/replay_writer.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace marvok;

// 10,000 entries: replays, folders named like replays (even holding one) and files that are no replay.
TEST(ReplayInputs, AFolderOf10000EntriesListsItsReplaysOnly) {
    test::TempFolder folder;
    ReplayRecording recording;
    recording.gameInformation =
        gameInformationText(ZeroHour, "03maps/alpine assault", "HAnna,0,0,TT,2,6,1,0,1:X");
    const QByteArray replay = replayBytes(recording);
    const QDir dir(folder.path());
    for (int k = 0; k < 10000; ++k) {
        const QString number = QStringLiteral("%1").arg(k, 5, 10, QLatin1Char('0'));
        if (k % 10 == 0) {
            ASSERT_TRUE(dir.mkpath(u"Folder " + number + u".rep"));
            if (k % 100 == 0)
                test::writeBytes(folder.file(u"Folder " + number + u".rep/inside.rep"), replay);
        } else if (k % 10 == 1) {
            test::writeBytes(folder.file(u"Other " + number + u".rep"), "RIFF not a replay");
        } else {
            test::writeBytes(folder.file(u"Game " + number + u".rep"), replay);
        }
    }

    const QList<ReplayRow> rows = listReplays(folder.path());
    ASSERT_EQ(rows.size(), 8000);
    EXPECT_EQ(rows.first().title, QStringLiteral("Game 00002"));
    EXPECT_EQ(rows.last().title, QStringLiteral("Game 09999"));
    EXPECT_EQ(rows.last().map, QStringLiteral("Alpine assault"));
    EXPECT_EQ(rows.last().players, QStringLiteral("1"));
}
