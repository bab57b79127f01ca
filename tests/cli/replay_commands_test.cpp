#include "replays/replay_writer.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/test_files.h"

#include <QDate>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace marvok;
using namespace marvok::test;

namespace {

CliRun replayInfo(const QStringList& arguments, const QString& workingFolder = {}) {
    return runCli(QStringList{QStringLiteral("replay"), QStringLiteral("info")} + arguments, workingFolder);
}

QString writeReplayFile(const TempFolder& folder, const QString& name, GameKind game,
                        QByteArrayView slotList) {
    ReplayRecording recording;
    recording.game = game;
    recording.gameInformation = gameInformationText(game, "03maps/alpine assault", slotList);
    const QString path = folder.file(name);
    EXPECT_TRUE(writeReplay(path, recording));
    return path;
}

// The JSON objects of the output, one per line.
QList<QJsonObject> objects(const QByteArray& out) {
    QList<QJsonObject> result;
    for (const QByteArray& line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        result.append(document.object());
    }
    return result;
}

QJsonObject player(const char* name, const char* text, bool computer, const QJsonValue& difficulty,
                   const QJsonValue& faction, const char* suffix, const QJsonValue& team, bool observer) {
    return {{QStringLiteral("name"), QString::fromUtf8(name)},
            {QStringLiteral("text"), QString::fromUtf8(text)},
            {QStringLiteral("computer"), computer},
            {QStringLiteral("difficulty"), difficulty},
            {QStringLiteral("faction"), faction},
            {QStringLiteral("suffix"), QString::fromUtf8(suffix)},
            {QStringLiteral("team"), team},
            {QStringLiteral("observer"), observer}};
}

const QByteArray kSlotList =
    "HAnna \"the\" "
    "\xC3\xA9\xF0\x9F\x99\x82,0,0,TT,2,6,1,0,1:CM,3,8,2,1:O:HBob,0,0,TT,3,-2,-1,-1,1:CE,1,4,-1,-1:X";

} // namespace

TEST(ReplayInfo, PrintsOneJsonObjectWithThePlayersAsTheTreeShowsThem) {
    TempFolder folder;
    const QString path = writeReplayFile(folder, QStringLiteral("Last Replay.rep"), ZeroHour, kSlotList);
    const CliRun run = replayInfo({path});
    EXPECT_EQ(run.exitCode, 0) << run;
    EXPECT_TRUE(run.err.isEmpty()) << run;
    EXPECT_EQ(run.out.count('\n'), 1);
    const QList<QJsonObject> found = objects(run.out);
    ASSERT_EQ(found.size(), 1);
    const QJsonObject expected{
        {QStringLiteral("file"), path},
        {QStringLiteral("title"), QStringLiteral("Last Replay")},
        {QStringLiteral("date"), QFileInfo(path).lastModified().toString(QStringLiteral("dd/MM/yyyy"))},
        {QStringLiteral("version"), QStringLiteral("1.04")},
        {QStringLiteral("map"), QStringLiteral("Alpine assault")},
        {QStringLiteral("game"), QStringLiteral("zh")},
        {QStringLiteral("playerCount"), 3},
        {QStringLiteral("players"),
         QJsonArray{
             player("Anna \"the\" é🙂", "Anna \"the\" é🙂 (Pinpoint Townes)", false, QJsonValue::Null,
                    6, " (Pinpoint Townes)", 1, false),
             player("IA Moyen", "IA Moyen (Ta Hun Kwai)", true, QStringLiteral("medium"), 8, " (Ta Hun Kwai)",
                    2, false),
             player("Bob", "Bob", false, QJsonValue::Null, -2, "", QJsonValue::Null, true),
             player("IA Facile", "IA Facile", true, QStringLiteral("easy"), 4, "", QJsonValue::Null, false)}},
    };
    EXPECT_EQ(found[0], expected) << run;
}

TEST(ReplayInfo, TheGameIsTakenFromTheMagicUnlessGiven) {
    TempFolder folder;
    const QString zeroHour =
        writeReplayFile(folder, QStringLiteral("zh.rep"), ZeroHour, "HAnna,0,0,TT,2,6,1,0,1");
    const QString bfme =
        writeReplayFile(folder, QStringLiteral("bfme.rep"), BattleForMiddleEarth, "HAnna,0,0,TT,2,6,1,0,1");
    const auto texts = [](const CliRun& run) {
        QStringList result;
        for (const QJsonObject& object : objects(run.out))
            result << object.value(QStringLiteral("game")).toString() + u'|' +
                          object.value(QStringLiteral("players"))
                              .toArray()
                              .at(0)
                              .toObject()
                              .value(QStringLiteral("text"))
                              .toString();
        return result;
    };
    EXPECT_EQ(texts(replayInfo({zeroHour, bfme})), (QStringList{QStringLiteral("zh|Anna (Pinpoint Townes)"),
                                                                QStringLiteral("bfme|Anna (Mordor)")}));
    EXPECT_EQ(texts(replayInfo({QStringLiteral("--game"), QStringLiteral("generals"), zeroHour, bfme})),
              (QStringList{QStringLiteral("generals|Anna"), QStringLiteral("generals|Anna")}));
    EXPECT_EQ(texts(replayInfo({zeroHour, QStringLiteral("--game=bfme")})),
              QStringList{QStringLiteral("bfme|Anna (Mordor)")});
}

TEST(ReplayInfo, AReplayWithoutSlotListHasNoPlayerCount) {
    TempFolder folder;
    ReplayRecording recording;
    recording.gameInformation = "M=03maps/x;";
    const QString path = folder.file(QStringLiteral("x.rep"));
    ASSERT_TRUE(writeReplay(path, recording));
    const QList<QJsonObject> found = objects(replayInfo({path}).out);
    ASSERT_EQ(found.size(), 1);
    EXPECT_TRUE(found[0].value(QStringLiteral("playerCount")).isNull());
    EXPECT_EQ(found[0].value(QStringLiteral("players")).toArray(), QJsonArray{});
}

TEST(ReplayInfo, FilesThatAreNoReplaysGetALineEachAndStatus1) {
    TempFolder folder;
    const QString good =
        writeReplayFile(folder, QStringLiteral("good.rep"), ZeroHour, "HAnna,0,0,TT,2,6,1,0,1");
    writeBytes(folder.file(QStringLiteral("notes.txt")), "RIFF");
    const CliRun run = replayInfo(
        {QStringLiteral("notes.txt"), good, QStringLiteral("missing.rep"), folder.path()}, folder.path());
    EXPECT_EQ(run.exitCode, 1) << run;
    EXPECT_EQ(objects(run.out).size(), 1);
    EXPECT_EQ(run.err.count('\n'), 3) << run;
    EXPECT_TRUE(run.err.startsWith("marvok-cli: replay info: ")) << run;
    EXPECT_TRUE(run.err.contains("notes.txt")) << run;
}

TEST(ReplayRealFiles, ShowTheirMapsVersionsAndPlayers) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    const CliRun run = replayInfo({realFixturesFolder() + QStringLiteral("/zh-skirmish-3ai-teams.rep"),
                                   realFixturesFolder() + QStringLiteral("/generals-open-slot.rep")});
    EXPECT_EQ(run.exitCode, 0) << run;
    const QList<QJsonObject> found = objects(run.out);
    ASSERT_EQ(found.size(), 2);

    // One human, then an easy, a medium and a hard computer, in teams 0 to 3 in some order.
    EXPECT_EQ(found[0].value(QStringLiteral("map")).toString(), QStringLiteral("Manic aggression"));
    EXPECT_EQ(found[0].value(QStringLiteral("version")).toString(), QStringLiteral("1.04"));
    EXPECT_EQ(found[0].value(QStringLiteral("playerCount")).toInt(), 4);
    QStringList kinds;
    QList<int> teams;
    for (const QJsonValue& value : found[0].value(QStringLiteral("players")).toArray()) {
        const QJsonObject object = value.toObject();
        kinds << (object.value(QStringLiteral("computer")).toBool()
                      ? object.value(QStringLiteral("difficulty")).toString()
                      : QStringLiteral("human"));
        teams << object.value(QStringLiteral("team")).toInt();
    }
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("human"), QStringLiteral("easy"), QStringLiteral("medium"),
                                  QStringLiteral("hard")}));
    std::sort(teams.begin(), teams.end());
    EXPECT_EQ(teams, (QList<int>{1, 2, 3, 4}));

    // One human and an open slot, which is nobody.
    EXPECT_EQ(found[1].value(QStringLiteral("playerCount")).toInt(), 1);
    EXPECT_EQ(found[1].value(QStringLiteral("players")).toArray().size(), 1);
    EXPECT_FALSE(found[1]
                     .value(QStringLiteral("players"))
                     .toArray()
                     .at(0)
                     .toObject()
                     .value(QStringLiteral("computer"))
                     .toBool());
}
