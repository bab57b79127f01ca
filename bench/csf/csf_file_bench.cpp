// Targets: ReadCsf of a 20,000-row table at most 200 ms, WriteCsf of it at most 100 ms.
#include "csf/csf_file.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace marvok;

namespace {

constexpr int BenchRows = 20000;

// Rows shaped like a game's table: a category and a name, a sentence with accents, one "WRTS" row
// in fifty.
CsfTable gameSizedTable() {
    CsfTable table;
    table.reserve(BenchRows);
    for (int i = 0; i < BenchRows; ++i) {
        CsfEntry row;
        row.Name = QStringLiteral("CONTROLBAR:ToolTipBuildUnit%1").arg(i);
        row.Value = QStringLiteral("Entraîne une unité d'élite n° %1 : rapide, résistante, coûteuse.").arg(i);
        if (i % 50 == 0) {
            row.HasExtra = true;
            row.Extra = QByteArrayLiteral("ivoice_unit_select.wav");
        }
        table.append(row);
    }
    return table;
}

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
