// RenderPiece for the dialog's preview (goal ≤ 10 ms median, so that dragging
// a frame redraws at 60 frames a second) and the print run into a PDF.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "print/PieceRenderer.h"
#include "print/PreviewBackground.h"
#include "tests/print/SampleRecords.h"

using namespace q2;

namespace {

TPieceSetup FullSetup(const TSenderInfoList& senders) {
    TPrintSettings st;  // 年賀, vertical
    st.PrintSender = true;
    st.PrintCostom = true;
    return MakePieceSetup(st, std::nullopt, &senders);
}

TSenderInfoList Senders() {
    TSenderInfoList s;
    *s.Add() = sample::PrivateSender();
    return s;
}

// A frame is dragged: every redraw moves the name frame by a pixel, so the
// layout runs again each time (metrics are cached, shrink steps are not skipped).
void BM_RenderPiecePreview(benchmark::State& state) {
    const TSenderInfoList senders = Senders();
    TPieceSetup setup = FullSetup(senders);
    const TUserInfo r = sample::FamilyOfFive();
    const Dpi dpi = PreviewDpi(setup);
    QImage layer(PieceSizePx(setup, dpi), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        setup.Settings.Frames.NAM.left = PreviewPx(177 + (step++ % 9) - 4);
        layer.fill(Qt::transparent);
        QPainter p(&layer);
        RenderPiece(p, r, setup, dpi, PrintSpacing(dpi), TRenderPurpose::Preview, {false});
    }
}
BENCHMARK(BM_RenderPiecePreview)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RenderPiecePrint600(benchmark::State& state) {
    const TSenderInfoList senders = Senders();
    const TPieceSetup setup = FullSetup(senders);
    const TUserInfo r = sample::FamilyOfFive();
    const Dpi dpi{600, 600};
    QImage page(PieceSizePx(setup, dpi), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&page);
        RenderPiece(p, r, setup, dpi, PrintSpacing(dpi), TRenderPurpose::Print);
    }
}
BENCHMARK(BM_RenderPiecePrint600)->Unit(benchmark::kMillisecond);

// 1,000 postcards into one PDF at 600 dpi, as q2tool print does.
void BM_Print1000PostcardsToPdf(benchmark::State& state) {
    const TSenderInfoList senders = Senders();
    const TPieceSetup setup = FullSetup(senders);
    std::vector<TUserInfo> records;
    for (int i = 0; i < 1000; ++i) records.push_back(i % 2 ? sample::FamilyOfFive() : sample::Midoricho());
    QList<const TUserInfo*> list;
    for (const TUserInfo& r : records) list << &r;
    QTemporaryDir dir;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QString path = dir.filePath("cards.pdf");
        {
            QPdfWriter pdf(path);
            pdf.setResolution(600);
            pdf.setPageLayout(JobPageLayout(setup));
            QPainter p(&pdf);
            PrintPieces(p, pdf, list, setup, Dpi{600, 600});
        }
        bytes = QFileInfo(path).size();
    }
    state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_Print1000PostcardsToPdf)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
