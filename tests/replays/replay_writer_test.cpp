#include "replays/replay_writer.h"

#include "replays/replay_list.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

using namespace marvok;

namespace {

QDateTime localTime(QDate date, QTime time, int hoursFromUtc) {
    return QDateTime(date, time, Qt::OffsetFromUTC, hoursFromUtc * 3600);
}

} // namespace

// The games' own headers, rebuilt from the values they hold, come out byte for byte.
TEST(ReplayWriter, LaysOutHeadersAsTheGamesDo) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    ReplayRecording generals;
    generals.game = Generals;
    generals.startTime = localTime(QDate(2022, 11, 21), QTime(11, 13, 17, 76), -8);
    generals.endTime = generals.startTime.addSecs(45);
    generals.frameCount = 1287;
    generals.versionText = QStringLiteral("Version 1.7");
    generals.buildDate = QStringLiteral("Nov 10 2005 10:44:49");
    generals.versionNumber = 0x00010007;
    generals.exeChecksum = 0xfcd27c0e;
    generals.iniChecksum = 0x772766fb;
    generals.gameInformation = "M=03maps/alpine assault;MC=B7E74B8C;MS=275524;SD=178504125;C=100;"
                               "S=Hmoridar719,68328F49,0,TT,-1,-1,-1,-1,1:O:X:X:X:X:X:X:;";

    ReplayRecording zeroHour;
    zeroHour.game = ZeroHour;
    zeroHour.startTime = localTime(QDate(2018, 2, 16), QTime(20, 16, 39, 622), 8);
    zeroHour.endTime = zeroHour.startTime.addSecs(94);
    zeroHour.frameCount = 1693;
    zeroHour.buildDate = QStringLiteral("Sep  6 2012 11:51:43");
    zeroHour.exeChecksum = 0xda2b4b18;
    zeroHour.iniChecksum = 0xfeaae3f3;
    zeroHour.gameInformation = "US=1;M=03maps/manic aggression;MC=43D4F68E;MS=220259;SD=8175109;C=100;SR=1;"
                               "SC=20000;O=N;S=HDESKTOP-J8EU7T4,0,0,TT,0,6,-1,1,1:CE,4,3,-1,0:CM,6,4,-1,2:"
                               "CH,7,5,-1,3:X:X:X:X:;";

    const struct {
        const char* file;
        const ReplayRecording& recording;
    } cases[] = {{"generals-open-slot.rep", generals}, {"zh-skirmish-3ai-teams.rep", zeroHour}};
    for (const auto& c : cases) {
        const QByteArray real =
            test::readBytes(test::realFixturesFolder() + u'/' + QString::fromUtf8(c.file));
        const QByteArray written = replayBytes(c.recording);
        EXPECT_EQ(written, real.left(written.size())) << c.file;
    }
}

TEST(ReplayWriter, WrittenReplaysListWithTheirValues) {
    test::TempFolder dir;
    const GameKind games[] = {Generals, ZeroHour, BattleForMiddleEarth};
    for (GameKind game : games) {
        ReplayRecording recording;
        recording.game = game;
        recording.startTime = QDateTime::currentDateTime();
        recording.endTime = recording.startTime.addSecs(600);
        recording.frameCount = 18000;
        recording.title = QStringLiteral("Partie");
        recording.versionText = QStringLiteral("Version 1.0") + QString::number(game);
        recording.gameInformation = gameInformationText(game, "03maps/alpine assault",
                                                        "HAnna,0,0,TT,2,3,1,0,1:CE,1,4,-1,1:O:X:X:X:X:X");
        recording.recordedGame = QByteArray(4000, '\x5a');
        ASSERT_TRUE(writeReplay(dir.file(QStringLiteral("game %1.rep").arg(game)), recording));
    }

    const QList<ReplayRow> rows = listReplays(dir.path());
    ASSERT_EQ(rows.size(), 3);
    for (GameKind game : games) {
        EXPECT_EQ(rows[game].columns().mid(2),
                  QStringList({QStringLiteral("1.0") + QString::number(game), QStringLiteral("2"),
                               QStringLiteral("Alpine assault")}));
        EXPECT_EQ(rows[game].slotList, QByteArray("HAnna,0,0,TT,2,3,1,0,1:CE,1,4,-1,1:O:X:X:X:X:X"));
    }
    EXPECT_TRUE(test::readBytes(dir.file(QStringLiteral("game 2.rep"))).startsWith("BFMEREPL"));
}
