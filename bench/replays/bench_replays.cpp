// Listing a replays folder of 2,000 replays, the files in the page cache. Target: at most 1 s, and
// at most 2048 bytes read from each file (counted by the kernel, /proc/self/io "rchar").
#include "replays/replay_header.h"
#include "replays/replay_list.h"
#include "replays/replay_writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace marvok;

namespace {

constexpr int ReplayCount = 2000;

qint64 bytesReadByThisProcess() {
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return -1;
}

// A folder of replays of various players and maps, each with 16 KiB of recorded game behind the header.
const QTemporaryDir& replaysFolder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir dir;
        const QByteArray recordedGame(16 * 1024, '\x01');
        for (int i = 0; i < ReplayCount; ++i) {
            ReplayRecording recording;
            recording.game = GameKind(i % 3);
            recording.startTime = QDateTime::currentDateTime().addDays(-i);
            recording.endTime = recording.startTime.addSecs(900);
            recording.frameCount = 27000;
            recording.title = QStringLiteral("Last Replay");
            const QByteArray slotList = "HPlayer" + QByteArray::number(i) + ",0,0,TT,2," +
                                        QByteArray::number(i % 14) + ",1," + QByteArray::number(i % 8) +
                                        ",1:CE,1,3,-1,1:CM,2,4,-1,2:O:X:X:X:X";
            recording.gameInformation = gameInformationText(
                recording.game, QByteArray("03maps/tournament desert " + QByteArray::number(i % 40)),
                slotList);
            recording.recordedGame = recordedGame;
            writeReplay(dir.filePath(QStringLiteral("Match %1.rep").arg(i, 4, 10, QLatin1Char('0'))),
                        recording);
        }
        return dir;
    }();
    return folder;
}

void BM_ListReplays(benchmark::State& state) {
    const QString folder = replaysFolder().path();
    benchmark::DoNotOptimize(listReplays(folder)); // fills the page cache
    // Reading /proc/self/io counts too: measure that once and take it off (it varies by a few bytes).
    const qint64 probeStart = bytesReadByThisProcess();
    const qint64 probe = bytesReadByThisProcess() - probeStart;
    qint64 bytesRead = 0;
    qsizetype rows = 0;
    for (auto _ : state) {
        const qint64 before = bytesReadByThisProcess();
        const QList<ReplayRow> list = listReplays(folder);
        bytesRead += bytesReadByThisProcess() - before - probe;
        rows = list.size();
        benchmark::DoNotOptimize(list);
    }
    if (rows != ReplayCount)
        state.SkipWithError("not every replay was listed");
    const double perFile = double(bytesRead) / double(state.iterations()) / ReplayCount;
    state.counters["bytes_read_per_file"] = perFile;
    constexpr qint64 ProbeSlack = 64;
    if (bytesRead > state.iterations() * (qint64(ReplayHeaderWindowSize) * ReplayCount + ProbeSlack))
        state.SkipWithError("more than 2048 bytes were read from a file");
}
BENCHMARK(BM_ListReplays)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
