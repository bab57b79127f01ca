#include "replays/replay_list.h"

#include "replays/replay_players.h"
#include "replays/replay_writer.h"
#include "tests/replays/test_bytes.h"
#include "tests/support/test_files.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace marvok;

namespace {

QStringList titles(const QList<ReplayRow>& rows) {
    QStringList result;
    for (const ReplayRow& row : rows)
        result.append(row.title);
    return result;
}

QByteArray replayWith(const QByteArray& mapPath, const QByteArray& slotList) {
    ReplayRecording recording;
    recording.gameInformation = gameInformationText(ZeroHour, mapPath, slotList);
    return replayBytes(recording);
}

} // namespace

TEST(ReplayList, ListsTheReplayFilesOfTheFolderSortedOnTheTitle) {
    test::TempFolder dir;
    const QByteArray replay = replayWith("03maps/alpine assault", "HAnna,0,0,TT,2,6,1,0,1:X");
    for (const char* name : {"b.rep", "A b.rep", "UPPER.REP", ".hidden.rep", "notes.txt"})
        test::writeBytes(dir.file(QString::fromUtf8(name)), replay);
    test::writeBytes(dir.file(QStringLiteral("a.rep")), "BFMEREPL");
    test::writeBytes(dir.file(QStringLiteral("Other.rep")), "RIFF" + replay);
    test::writeBytes(dir.file(QStringLiteral("Empty.rep")), "");
    QDir(dir.path()).mkpath(QStringLiteral("Folder.rep"));
    QFile::link(dir.file(QStringLiteral("gone")), dir.file(QStringLiteral("Broken.rep")));
    // Opening a pipe would wait for a writer for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("Pipe.rep"))).constData(), 0600), 0);

    const QList<ReplayRow> rows = listReplays(dir.path());
    EXPECT_EQ(titles(rows), QStringList({QStringLiteral("a"), QStringLiteral("A b"), QStringLiteral("b"),
                                         QStringLiteral("UPPER")}));
    EXPECT_EQ(rows.last().fileName, QStringLiteral("UPPER.REP"));
}

TEST(ReplayList, EmptyAndMissingFoldersGiveNoRows) {
    test::TempFolder dir;
    test::writeBytes(dir.file(QStringLiteral("notes.txt")), "GENREP");
    EXPECT_TRUE(listReplays(dir.path()).isEmpty());
    EXPECT_TRUE(listReplays(dir.file(QStringLiteral("missing"))).isEmpty());
}

TEST(ReplayList, ARowShowsTheHeadersValuesAndKeepsTheSlotList) {
    test::TempFolder dir;
    const QByteArray slotList = "HAnna,0,0,TT,2,6,1,0,1:CE,1,3,-1,1:HBob,0,0,TT,3,-2,-1,-1,1:O:X:X:X:X";
    const QString path = dir.file(QStringLiteral("Final.rep"));
    test::writeBytes(path, replayWith("03userdata/maps/defcon6", slotList));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime(QDate(2021, 3, 5), QTime(12, 0)), QFileDevice::FileModificationTime));
    file.close();

    const std::optional<ReplayRow> row = readReplayRow(dir.path(), QStringLiteral("Final.rep"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->columns(),
              QStringList({QStringLiteral("Final"), QStringLiteral("05/03/2021"), QStringLiteral("1.04"),
                           QStringLiteral("2"), QStringLiteral("Defcon6")}));
    EXPECT_EQ(row->slotList, slotList);
}

TEST(ReplayList, AHeaderMissingItsMarksGivesARowWithWhatWasFound) {
    test::TempFolder dir;
    test::writeBytes(dir.file(QStringLiteral("Bare.rep")), "GENREP and nothing else");
    test::writeBytes(dir.file(QStringLiteral("NoSlots.rep")), test::raw("GENREP\0M=maps/alpine;"));

    const QList<ReplayRow> rows = listReplays(dir.path());
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].columns().mid(2), QStringList({QString(), QString(), QString()}));
    EXPECT_EQ(rows[1].columns().mid(2), QStringList({QString(), QString(), QStringLiteral("Alpine")}));
    EXPECT_FALSE(rows[1].date.isEmpty());
}

namespace {

// What a replay's bytes hold, found with a plain search of our own.
struct Recorded {
    QString version;
    QString map;
    QByteArray slotList;
    QStringList players; // "parent key|start of the text" of each human and computer that plays
};

QByteArray textAfter(const QByteArray& bytes, const QByteArray& mark) {
    const qsizetype start = bytes.indexOf(mark) + mark.size();
    return bytes.mid(start, bytes.indexOf(';', start) - start);
}

Recorded recordedIn(const QByteArray& bytes) {
    Recorded recorded;
    const QByteArray versionMark("V\0e\0r\0s\0i\0o\0n\0 \0", 16);
    for (qsizetype at = bytes.indexOf(versionMark) + versionMark.size(); bytes[at] != 0; at += 2)
        recorded.version += QLatin1Char(bytes[at]);
    const QString mapPath = QString::fromUtf8(textAfter(bytes, "M="));
    const QString name = mapPath.section(u'/', -1);
    recorded.map = name.left(1).toUpper() + name.mid(1).toLower();
    recorded.slotList = textAfter(bytes, ";S=");
    for (const QByteArray& entry : recorded.slotList.split(':')) {
        const QList<QByteArray> fields = entry.split(',');
        if (entry.startsWith('H') && fields[5] != "-2")
            recorded.players.append(QStringLiteral("Team ") + QString::fromUtf8(fields[7]) + u'|' +
                                    QString::fromUtf8(fields[0].mid(1)));
        else if (entry.startsWith('C'))
            recorded.players.append(QStringLiteral("Team ") + QString::fromUtf8(fields[4]) +
                                    QStringLiteral("|IA "));
    }
    return recorded;
}

} // namespace

TEST(ReplayList, TheGamesOwnReplaysListAsRecorded) {
    MARVOK_REQUIRE_REAL_FIXTURES();
    const QString folder = test::realFixturesFolder();
    const QList<ReplayRow> rows = listReplays(folder);
    ASSERT_EQ(titles(rows),
              QStringList({QStringLiteral("generals-open-slot"), QStringLiteral("zh-skirmish-3ai-teams")}));

    for (const ReplayRow& row : rows) {
        const Recorded recorded = recordedIn(test::readBytes(folder + u'/' + row.fileName));
        SCOPED_TRACE(row.fileName.toStdString());
        EXPECT_EQ(row.version, recorded.version);
        EXPECT_EQ(row.map, recorded.map);
        EXPECT_EQ(row.slotList, recorded.slotList);
        EXPECT_EQ(row.players, QString::number(recorded.players.size()));

        const PlayersTree tree =
            buildPlayersTree(row.slotList, row.fileName.startsWith(u'z') ? ZeroHour : Generals);
        const QList<PlayerNode> players = tree.nodes.mid(11);
        ASSERT_EQ(players.size(), recorded.players.size());
        for (qsizetype i = 0; i < players.size(); ++i)
            EXPECT_TRUE(
                QString(players[i].parentKey + u'|' + players[i].text).startsWith(recorded.players[i]))
                << players[i].text.toStdString();
    }
    // What the files are known to hold.
    EXPECT_EQ(rows[0].columns().mid(2),
              QStringList({QStringLiteral("1.7"), QStringLiteral("1"), QStringLiteral("Alpine assault")}));
    EXPECT_EQ(rows[1].columns().mid(2),
              QStringList({QStringLiteral("1.04"), QStringLiteral("4"), QStringLiteral("Manic aggression")}));
}
