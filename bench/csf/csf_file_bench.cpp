// Targets: ReadCsf of a 20,000-row table at most 200 ms, WriteCsf of it at most 100 ms.
#include "bench/csf/game_sized_table.h"
#include "csf/csf_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace marvok;
using marvok::bench::BenchRows;
using marvok::bench::gameSizedTable;

namespace {

void BM_ReadCsf20000Rows(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.csf"));
    if (!WriteCsf(path, gameSizedTable(), 3).ok()) {
        state.SkipWithError("could not write the table");
        return;
    }
    for (auto _ : state) {
        const CsfReadResult read = ReadCsf(path);
        if (read.table.size() != BenchRows)
            state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(read.table.constData());
    }
}
BENCHMARK(BM_ReadCsf20000Rows)->Unit(benchmark::kMillisecond);

void BM_WriteCsf20000Rows(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.csf"));
    const CsfTable table = gameSizedTable();
    for (auto _ : state) {
        if (!WriteCsf(path, table, 3).ok())
            state.SkipWithError("could not write the table");
    }
}
BENCHMARK(BM_WriteCsf20000Rows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
