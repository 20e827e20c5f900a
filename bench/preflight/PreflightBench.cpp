// The check before printing 10,000 年賀 cards: vertical, the proportional
// Gothic, the customer barcode on, against the shipped postal data.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "model/UserInfoList.h"
#include "preflight/Preflight.h"
#include "zip/ZipReview.h"

namespace {

using namespace q2;

struct Batch {
    TUserInfoList sample;
    std::vector<TUserInfo> records;
    QList<const TUserInfo*> list;
    TZipIndex zip;
    TPieceSetup setup;
};

// The sample book's 30 records, repeated with their house numbers varied.
const Batch& TenThousandCards() {
    static const Batch* batch = [] {
        auto* b = new Batch;
        b->sample.LoadFromFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"));
        b->zip.Load(QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat"));
        b->records.reserve(10000);
        for (int i = 0; i < 10000; ++i) {
            TUserInfo r = *b->sample.Item(i % b->sample.Count());
            r.PerSonalAddress_2 = QStringLiteral("%1-%2").arg(i % 97 + 1).arg(i % 13 + 1);
            b->records.push_back(r);
        }
        for (const TUserInfo& r : b->records) b->list << &r;
        TPrintSettings st;
        st.PostcardIndex = kNengaKind;
        st.Vertical = true;
        st.Font = QString::fromUtf16(u"@ＭＳ Ｐゴシック");
        st.Frames = DefaultFrames(kNengaKind, true);
        st.PrintCostom = true;
        b->setup = MakePieceSetup(st, std::nullopt, nullptr);
        return b;
    }();
    return *batch;
}

void BM_PreflightNenga10000(benchmark::State& state) {
    const Batch& b = TenThousandCards();
    const bool fit = state.range(0) != 0;
    TPrintCheckOptions options{&b.zip, fit ? TFitProbe(LayoutFitMarks) : TFitProbe()};
    qsizetype findings = 0;
    for (auto _ : state) {
        findings = CheckPrint(b.list, b.setup, options).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = double(findings);
}
BENCHMARK(BM_PreflightNenga10000)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Reading zip.dat into the lookup index (the dialog does it once per data file).
void BM_LoadZipIndex(benchmark::State& state) {
    for (auto _ : state) {
        TZipIndex zip;
        benchmark::DoNotOptimize(zip.Load(QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat")));
    }
}
BENCHMARK(BM_LoadZipIndex)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
