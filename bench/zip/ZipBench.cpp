// Postal code lookups over the whole shipped data file, as the record
// editor's buttons run them: the file is read and scanned anew each time.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>

#include "platform/Cp932.h"
#include "zip/ZipData.h"
#include "zip/ZipReview.h"

namespace {

const QString kData = QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat");

void BM_SearchByZipPrefix(benchmark::State& state) {
    for (auto _ : state) {
        const q2::TZipSearch s = q2::SearchByZip(kData, QStringLiteral("100"), QString());
        benchmark::DoNotOptimize(s.Entries.size());
    }
}
BENCHMARK(BM_SearchByZipPrefix)->Unit(benchmark::kMillisecond);

void BM_SearchByZipFull(benchmark::State& state) {
    for (auto _ : state) {
        const q2::TZipSearch s =
            q2::SearchByZip(kData, QStringLiteral("100"), QStringLiteral("0013"));
        benchmark::DoNotOptimize(s.Entries.size());
    }
}
BENCHMARK(BM_SearchByZipFull)->Unit(benchmark::kMillisecond);

void BM_SearchByAddress(benchmark::State& state) {
    for (auto _ : state) {
        const q2::TZipSearch s = q2::SearchByAddress(kData, QStringLiteral("霞が関"));
        benchmark::DoNotOptimize(s.Entries.size());
    }
}
BENCHMARK(BM_SearchByAddress)->Unit(benchmark::kMillisecond);

// A key found nowhere scans every line to the end.
void BM_SearchByAddressNoHit(benchmark::State& state) {
    for (auto _ : state) {
        const q2::TZipSearch s = q2::SearchByAddress(kData, QStringLiteral("存在しない町名"));
        benchmark::DoNotOptimize(s.Entries.size());
    }
}
BENCHMARK(BM_SearchByAddressNoHit)->Unit(benchmark::kMillisecond);

// The index the book review and q2tool preflight build over the whole file.
void BM_ZipIndexLoad(benchmark::State& state) {
    for (auto _ : state) {
        q2::TZipIndex index;
        benchmark::DoNotOptimize(index.Load(kData));
    }
}
BENCHMARK(BM_ZipIndexLoad)->Unit(benchmark::kMillisecond);

// The floor of the index: the file read and decoded, nothing kept.
void BM_ZipIndexLoadFloor(benchmark::State& state) {
    for (auto _ : state) {
        QFile file(kData);
        file.open(QIODevice::ReadOnly);
        const QString text = q2::DecodeCp932(file.readAll());
        benchmark::DoNotOptimize(text.constData());
    }
}
BENCHMARK(BM_ZipIndexLoadFloor)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
