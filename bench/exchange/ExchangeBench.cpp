// CSV export and import of 100,000 records, and the search predicate over them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "bench/model/SampleBook.h"
#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/CsvReader.h"
#include "exchange/SearchConditions.h"

namespace {

using namespace q2;

constexpr int kRecords = 100'000;
const QDate kToday(2024, 6, 1);

struct Fixture {
    TUserInfoList book;
    QByteArray csv;
    TImportMapping mapping;
    Fixture() {
        q2bench::FillSampleBook(book, kRecords, 0);
        TExportOptions o;
        for (int c = 0; c < kExportColumnCount; ++c) o.Columns.push_back(c);
        csv = ComposeCsv(book, o, kToday).Bytes;
        // Every column the import has a destination for, as the round trip maps them.
        for (int c = 0; c < kExportColumnCount; ++c) {
            const QString d = ImportDestinationOfExportColumn(c);
            mapping.push_back(d.isEmpty() ? -1 : ImportDestinationIndex(d));
        }
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

void BM_ExportAllColumns(benchmark::State& state) {
    auto& f = Get();
    TExportOptions o;
    for (int c = 0; c < kExportColumnCount; ++c) o.Columns.push_back(c);
    o.Header = true;
    for (auto _ : state) benchmark::DoNotOptimize(ComposeCsv(f.book, o, kToday));
    state.counters["bytes"] = double(f.csv.size());
}

// What the import button and the dialog do: decode, split, mark, size the
// grid, then create every record.
void BM_ImportAllColumns(benchmark::State& state) {
    auto& f = Get();
    for (auto _ : state) {
        QStringList records = SplitCsvRecords(DecodeCsvFile(f.csv));
        MarkLineBreaks(records);
        int rows = 1;
        for (const QString& r : records) rows = std::max(rows, CountCsvFields(r));
        TUserInfoList book;
        benchmark::DoNotOptimize(ImportRecords(records, f.mapping, {}, book));
        benchmark::DoNotOptimize(rows);
    }
}

void BM_SearchThreeConditions(benchmark::State& state) {
    auto& f = Get();
    TSearchSettings s;
    s.Rows[0] = {true, 2, QStringLiteral("田"), SearchOp::Contains};
    s.Rows[1] = {true, 13, QStringLiteral("30"), SearchOp::Greater};
    s.Rows[2] = {true, 5, QStringLiteral("東京都"), SearchOp::StartsWith};
    int hits = 0;
    for (auto _ : state) {
        const TSearchMatcher m(s, kToday);
        hits = 0;
        for (int i = 0; i < f.book.Count(); ++i) hits += m.Matches(*f.book.Item(i), 1);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
}

BENCHMARK(BM_ExportAllColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportAllColumns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchThreeConditions)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
