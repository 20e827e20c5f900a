// Converting full-size Japan Post files (generated from the shipped data,
// about 146,000 lines) into zip.dat: unpacking both ZIPs and converting, as
// the update's worker thread does.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "zip/JapanPostData.h"

namespace {

struct Files {
    QByteArray kenAll, jigyosyo;
};

const Files& FullSizeFiles() {
    static const Files files = [] {
        QTemporaryDir dir;
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(Q2_SOURCE_DIR "/tests/zip/japanpost_files.py"),
                 QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat"),
                 QStringLiteral(Q2_SOURCE_DIR "/barcode/data/nonumber.txt"), dir.path()});
        p.waitForFinished(300000);
        auto read = [&](const char* name) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        return Files{read("ken_all.zip"), read("jigyosyo.zip")};
    }();
    return files;
}

void BM_UnpackAndConvert(benchmark::State& state) {
    const Files& files = FullSizeFiles();
    int lines = 0;
    for (auto _ : state) {
        QByteArray ken, jig;
        q2::TJapanPostData data;
        if (!q2::UnpackCsv(files.kenAll, &ken) || !q2::UnpackCsv(files.jigyosyo, &jig) ||
            !q2::ConvertJapanPost(ken, jig, &data)) {
            state.SkipWithError("conversion failed");
            break;
        }
        lines = data.ResidentialLines + data.BusinessLines;
        benchmark::DoNotOptimize(data.ZipDat.size());
    }
    state.counters["lines"] = lines;
    state.counters["zip_bytes"] = double(files.kenAll.size() + files.jigyosyo.size());
}
BENCHMARK(BM_UnpackAndConvert)->Unit(benchmark::kMillisecond);

void BM_UnpackOnly(benchmark::State& state) {
    const Files& files = FullSizeFiles();
    for (auto _ : state) {
        QByteArray ken, jig;
        q2::UnpackCsv(files.kenAll, &ken);
        q2::UnpackCsv(files.jigyosyo, &jig);
        benchmark::DoNotOptimize(ken.size() + jig.size());
    }
}
BENCHMARK(BM_UnpackOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
