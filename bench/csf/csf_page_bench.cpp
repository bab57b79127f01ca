// Target: ReadCsf of a 20,000-row table and filling List1 with it, at most 200 ms.
#include "bench/csf/game_sized_table.h"
#include "csf/csf_editor_page.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace marvok;
using marvok::bench::BenchRows;
using marvok::bench::gameSizedTable;

namespace {

// From "Choisir" to a list that is laid out and painted, as the user sees it.
void BM_OpenCsf20000RowsOnThePage(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.csf"));
    if (!WriteCsf(path, gameSizedTable(), 3).ok()) {
        state.SkipWithError("could not write the table");
        return;
    }
    QWidget panel;
    panel.resize(660, 470);
    auto* page = new CsfEditorPage(&panel);
    auto* list = panel.findChild<QListWidget*>(QStringLiteral("List1"));
    panel.show();
    for (auto _ : state) {
        page->OpenCsf(path);
        list->repaint();
        if (list->count() != BenchRows)
            state.SkipWithError("wrong row count");
    }
}
BENCHMARK(BM_OpenCsf20000RowsOnThePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
