// Save, load and password read of books of 10,000 to 1,000,000 records,
// against the floors of merely reading the file and undoing the scramble, and
// of writing and syncing the same bytes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>
#include <unistd.h>

#include "SampleBook.h"

namespace {

struct BookFixture {
    QTemporaryDir dir;
    QString path;
    q2::TUserInfoList book;
    explicit BookFixture(int records) {
        path = dir.filePath("bench.QT2");
        q2bench::FillSampleBook(book, records);
        book.SaveToFile(path);
    }
};

// One book of each size at a time: a million records take gigabytes.
BookFixture& Fixture(const benchmark::State& state) {
    static std::unique_ptr<BookFixture> f;
    static int records = -1;
    if (records != state.range(0)) {
        f.reset();
        records = int(state.range(0));
        f = std::make_unique<BookFixture>(records);
    }
    return *f;
}

void BM_Save(benchmark::State& state) {
    auto& f = Fixture(state);
    for (auto _ : state) benchmark::DoNotOptimize(f.book.SaveToFile(f.path));
    state.counters["bytes"] = double(QFile(f.path).size());
}

void BM_Load(benchmark::State& state) {
    auto& f = Fixture(state);
    q2::TUserInfoList book;
    for (auto _ : state) benchmark::DoNotOptimize(book.LoadFromFile(f.path));
    state.counters["records"] = book.Count();
}

// Opening a book while none is open: the parse alone.
void BM_LoadIntoEmptyBook(benchmark::State& state) {
    auto& f = Fixture(state);
    for (auto _ : state) {
        auto book = std::make_unique<q2::TUserInfoList>();
        benchmark::DoNotOptimize(book->LoadFromFile(f.path));
        state.PauseTiming();
        book.reset();
        state.ResumeTiming();
    }
}

void BM_ReadPassword(benchmark::State& state) {
    auto& f = Fixture(state);
    for (auto _ : state) benchmark::DoNotOptimize(q2::TUserInfoList::ReadPassword(f.path));
}

// The floor: the bytes read and every byte unscrambled, nothing parsed.
void BM_ReadAndUnscrambleFloor(benchmark::State& state) {
    auto& f = Fixture(state);
    for (auto _ : state) {
        QFile file(f.path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        char* p = bytes.data();
        for (qsizetype i = 0; i < bytes.size(); ++i) p[i] ^= 0x6B;
        benchmark::DoNotOptimize(bytes.data());
    }
}

// The floor of a save: the same bytes written to the file and synced.
void BM_WriteAndSyncFloor(benchmark::State& state) {
    auto& f = Fixture(state);
    const QByteArray bytes = f.book.ToBytes();
    const QString path = f.dir.filePath("floor.QT2");
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        file.flush();
        benchmark::DoNotOptimize(::fsync(file.handle()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Size by size, each path beside its floor: a book is built once per size.
    for (const int records : {10'000, 100'000, 1'000'000}) {
        for (const auto& [name, fn] :
             {std::pair{"BM_ReadAndUnscrambleFloor", &BM_ReadAndUnscrambleFloor},
              std::pair{"BM_Load", &BM_Load},
              std::pair{"BM_LoadIntoEmptyBook", &BM_LoadIntoEmptyBook},
              std::pair{"BM_WriteAndSyncFloor", &BM_WriteAndSyncFloor},
              std::pair{"BM_Save", &BM_Save}})
            benchmark::RegisterBenchmark(name, fn)->Arg(records)->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_ReadPassword", BM_ReadPassword)
        ->Arg(100'000)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
