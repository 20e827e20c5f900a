// vCard import and export of 10,000 cards.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "bench/model/SampleBook.h"
#include "exchange/VcardImport.h"
#include "exchange/VcardWriter.h"

namespace {

using namespace q2;

constexpr int kCards = 10'000;

struct Fixture {
    TUserInfoList book;
    QByteArray vcf;
    Fixture() {
        // One card in a hundred carries a photo of about 20 KB.
        q2bench::FillSampleBook(book, kCards, 100);
        vcf = ComposeVcards(book, TVcardVersion::V30);
    }
};

Fixture& Get() {
    static Fixture f;
    return f;
}

// What the import button does with a vCard file: read every card, convert
// it, append the records.
void BM_ImportVcards(benchmark::State& state) {
    auto& f = Get();
    const QDateTime now = MakeDateTime(QDate(2024, 6, 1));
    for (auto _ : state) {
        TVcardImport in = ConvertVcards(f.vcf, now);
        TUserInfoList book;
        benchmark::DoNotOptimize(AppendRecords(std::move(in.Records), book));
    }
    state.counters["cards"] = kCards;
    state.counters["bytes"] = double(f.vcf.size());
}

void BM_ExportVcards(benchmark::State& state) {
    auto& f = Get();
    for (auto _ : state) benchmark::DoNotOptimize(ComposeVcards(f.book, TVcardVersion::V30));
}

BENCHMARK(BM_ImportVcards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportVcards)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
