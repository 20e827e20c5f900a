// q2tool dump, create, export-csv and import-csv of a 100,000-record book, run
// as processes the way a script runs them. Peak memory: run the commands the benchmark prints under
// /usr/bin/time -v.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

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
    for (auto _ : state)
        benchmark::DoNotOptimize(ToolFixture::Run({"dump", f.book}, QString(), QString()));
    state.counters["json_bytes"] = double(QFile(f.json).size());
}

void BM_Create(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(ToolFixture::Run({"create", f.copy}, f.json, QString()));
    state.counters["book_bytes"] = double(QFile(f.copy).size());
}

// The CSV round trip as processes: export every column with its header, and
// import it into a new book by the header.
struct CsvFixture {
    QString csv, imported;
    CsvFixture() {
        auto& f = Fixture();
        csv = f.dir.filePath("bench.csv");
        imported = f.dir.filePath("imported.QT2");
        ToolFixture::Run({"export-csv", f.book, csv, "--header"}, QString(), QString());
        ToolFixture::Run({"import-csv", csv, imported, "--auto"}, QString(), QString());
    }
};

CsvFixture& Csv() {
    static CsvFixture c;
    return c;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void WriteAndSync(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
    file.flush();
    ::fsync(file.handle());
}

void BM_ExportCsv(benchmark::State& state) {
    auto& f = Fixture();
    const QString out = f.dir.filePath("export.csv");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ToolFixture::Run({"export-csv", f.book, out, "--header"}, QString(), QString()));
}

// The floor of the export: the book read and unscrambled, the CSV's bytes written.
void BM_ExportCsvFloor(benchmark::State& state) {
    auto& f = Fixture();
    const QByteArray csv = ReadAll(Csv().csv);
    for (auto _ : state) {
        QByteArray bytes = ReadAll(f.book);
        for (char& c : bytes) c ^= 0x6B;
        benchmark::DoNotOptimize(bytes.data());
        WriteAndSync(f.dir.filePath("floor.csv"), csv);
    }
}

void BM_ImportCsv(benchmark::State& state) {
    auto& c = Csv();
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(c.imported);
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            ToolFixture::Run({"import-csv", c.csv, c.imported, "--auto"}, QString(), QString()));
    }
}

// The floor of the import: the CSV read, the book's bytes written.
void BM_ImportCsvFloor(benchmark::State& state) {
    auto& c = Csv();
    const QByteArray book = ReadAll(c.imported);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadAll(c.csv).size());
        WriteAndSync(Fixture().dir.filePath("floor.QT2"), book);
    }
}

BENCHMARK(BM_Dump)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Create)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportCsvFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportCsvFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
