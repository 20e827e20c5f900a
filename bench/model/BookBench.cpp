// Save, load and password read of a 100,000-record book, against the floor
// of merely reading the file and undoing the scramble.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

#include "SampleBook.h"

namespace {

constexpr int kRecords = 100'000;

struct BookFixture {
    QTemporaryDir dir;
    QString path;
    q2::TUserInfoList book;
    BookFixture() {
        path = dir.filePath("bench.QT2");
        q2bench::FillSampleBook(book, kRecords);
        book.SaveToFile(path);
    }
};

BookFixture& Fixture() {
    static BookFixture f;
    return f;
}

void BM_Save(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state) benchmark::DoNotOptimize(f.book.SaveToFile(f.path));
    state.counters["bytes"] = double(QFile(f.path).size());
}

void BM_Load(benchmark::State& state) {
    auto& f = Fixture();
    q2::TUserInfoList book;
    for (auto _ : state) benchmark::DoNotOptimize(book.LoadFromFile(f.path));
    state.counters["records"] = book.Count();
}

// Opening a book while none is open: the parse alone.
void BM_LoadIntoEmptyBook(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state) {
        auto book = std::make_unique<q2::TUserInfoList>();
        benchmark::DoNotOptimize(book->LoadFromFile(f.path));
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
}

void BM_ReadPassword(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state) benchmark::DoNotOptimize(q2::TUserInfoList::ReadPassword(f.path));
}

// The floor: the bytes read and every byte unscrambled, nothing parsed.
void BM_ReadAndUnscrambleFloor(benchmark::State& state) {
    auto& f = Fixture();
    for (auto _ : state) {
        QFile file(f.path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        char* p = bytes.data();
        for (qsizetype i = 0; i < bytes.size(); ++i) p[i] ^= 0x6B;
        benchmark::DoNotOptimize(bytes.data());
    }
}

BENCHMARK(BM_ReadAndUnscrambleFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadIntoEmptyBook)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPassword)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
