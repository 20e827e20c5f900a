// The postal code dialog filling its list from a lookup, for keys with a few
// hundred and with tens of thousands of hits.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "platform/DataFolder.h"
#include "zip/FormSearchZip.h"

namespace {

void BM_DialogListsCodeHits(benchmark::State& state) {
    q2::TFormSearchZip dialog;
    for (auto _ : state) {
        dialog.LVZipList->clear();
        benchmark::DoNotOptimize(dialog.SearchByZip(QStringLiteral("100"), QString()));
    }
    state.counters["rows"] = dialog.LVZipList->topLevelItemCount();
}
BENCHMARK(BM_DialogListsCodeHits)->Unit(benchmark::kMillisecond);

void BM_DialogListsAddressHits(benchmark::State& state) {
    const QString key = state.range(0) == 0 ? QStringLiteral("東京都") : QStringLiteral("区");
    q2::TFormSearchZip dialog;
    for (auto _ : state) {
        dialog.LVZipList->clear();
        benchmark::DoNotOptimize(dialog.SearchByAddress(key));
    }
    state.counters["rows"] = dialog.LVZipList->topLevelItemCount();
}
BENCHMARK(BM_DialogListsAddressHits)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    q2::EnsureDataFolder();
    q2::CopyMissingDefaults({QStringLiteral("zip/zip.dat")});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
