// q2tool dump and create of a 100,000-record book, run as processes the way a
// script runs them. Peak memory: run the commands the benchmark prints under
// /usr/bin/time -v.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "SampleBook.h"

namespace {

constexpr int kRecords = 100'000;

struct ToolFixture {
    QTemporaryDir dir;
    QString book, json, copy;
    ToolFixture() {
        book = dir.filePath("bench.QT2");
        json = dir.filePath("bench.json");
        copy = dir.filePath("copy.QT2");
        q2::TUserInfoList b;
        // Without pictures: dump gives a picture as kind, size and hash, which
        // create cannot turn back into the picture.
        q2bench::FillSampleBook(b, kRecords, 0);
        b.SaveToFile(book);
        Run({"dump", book}, QString(), json);
        std::printf("by hand: %s dump %s > %s\n          %s create %s < %s\n", Q2TOOL_PATH,
                    qPrintable(book), qPrintable(json), Q2TOOL_PATH, qPrintable(copy),
                    qPrintable(json));
    }
    static int Run(const QStringList& args, const QString& in, const QString& out) {
        QProcess p;
        if (!in.isEmpty()) p.setStandardInputFile(in);
        p.setStandardOutputFile(out.isEmpty() ? QProcess::nullDevice() : out);
        p.start(QStringLiteral(Q2TOOL_PATH), args);
        p.waitForFinished(-1);
        return p.exitCode();
    }
};

ToolFixture& Fixture() {
    static ToolFixture f;
    return f;
}

void BM_Dump(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state) benchmark::DoNotOptimize(ToolFixture::Run({"dump", f.book}, QString(), QString()));
    state.counters["json_bytes"] = double(QFile(f.json).size());
}

void BM_Create(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state) benchmark::DoNotOptimize(ToolFixture::Run({"create", f.copy}, f.json, QString()));
    state.counters["book_bytes"] = double(QFile(f.copy).size());
}

BENCHMARK(BM_Dump)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Create)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
