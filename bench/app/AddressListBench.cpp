// Rebuilding and sorting the address list over a book of 100,000 records, as
// a tab click does.
#include <QApplication>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "app/AddressListColumns.h"
#include "app/FormMain.h"
#include "platform/Prompter.h"

namespace {

constexpr int kRecords = 100000;

const char16_t* const kKana[] = {u"アオキ", u"イトウ",   u"ウエダ", u"カトウ",   u"ｷﾑﾗ",
                                 u"くどう", u"サトウ",   u"スズキ", u"タナカ",   u"ナカムラ",
                                 u"ハヤシ", u"まつもと", u"ヤマダ", u"ワタナベ", u"ガモウ",
                                 u"ﾊﾞﾝﾄﾞｳ", u"Ａｎｄｏ", u"森"};
const char16_t* const kGiven[] = {u"タロウ", u"ハナコ", u"イチロウ", u"サクラ", u"ケンタ", u"ユイ"};

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

q2::TFormMain* Window() {
    static q2::ScriptedPrompter prompter;
    static q2::TFormMain* window = [] {
        qputenv("XDG_DATA_HOME", Folder().filePath("data").toUtf8());
        q2::SetPrompter(&prompter);
        auto* w = new q2::TFormMain;
        QRandomGenerator rng(42);
        for (int i = 0; i < kRecords; ++i) {
            q2::TUserInfo* r = w->Session.Book.Add();
            r->PerSonalKana_1 = QString::fromUtf16(kKana[rng.bounded(int(std::size(kKana)))]);
            r->PerSonalKana_2 = QString::fromUtf16(kGiven[rng.bounded(int(std::size(kGiven)))]);
            r->PerSonalName_1 = QStringLiteral("氏名%1").arg(i);
            r->PerSonalAddress_1 =
                QStringLiteral("東京都千代田区千代田%1-%2").arg(i % 9 + 1).arg(i % 31 + 1);
        }
        return w;
    }();
    return window;
}

// RebuildDisplayList and the sort of column 1, for one tab.
void BM_RefreshTab(benchmark::State& state) {
    q2::TFormMain* w = Window();
    w->TCAddressList->blockSignals(true);
    w->TCAddressList->setCurrentIndex(int(state.range(0)));
    w->TCAddressList->blockSignals(false);
    for (auto _ : state) {
        w->RefreshAddressList();
        benchmark::DoNotOptimize(w->DisplayList.data());
    }
    state.counters["rows"] = double(w->DisplayList.size());
}
BENCHMARK(BM_RefreshTab)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_RebuildOnly(benchmark::State& state) {
    q2::TFormMain* w = Window();
    w->TCAddressList->blockSignals(true);
    w->TCAddressList->setCurrentIndex(0);
    w->TCAddressList->blockSignals(false);
    for (auto _ : state) w->RebuildDisplayList();
}
BENCHMARK(BM_RebuildOnly)->Unit(benchmark::kMillisecond);

// A header click on a text column and on the age column.
void BM_SortColumn(benchmark::State& state) {
    q2::TFormMain* w = Window();
    w->TCAddressList->blockSignals(true);
    w->TCAddressList->setCurrentIndex(0);
    w->TCAddressList->blockSignals(false);
    w->RebuildDisplayList();
    for (auto _ : state) q2::SortDisplayList(w->DisplayList, int(state.range(0)), true);
}
BENCHMARK(BM_SortColumn)->Arg(1)->Arg(5)->Arg(13)->Unit(benchmark::kMillisecond);

// What the open button does after its file dialog: load, reset, rebuild, sort.
void BM_OpenBook(benchmark::State& state) {
    q2::TFormMain* w = Window();
    static const QString path = [w] {
        const QString p = Folder().filePath(QStringLiteral("100k.QT2"));
        w->Session.Book.SaveToFile(p);
        return p;
    }();
    for (auto _ : state) {
        w->OpenAddressFile(path);
        w->RefreshAddressList();
    }
    state.counters["records"] = double(w->Session.Book.Count());
}
BENCHMARK(BM_OpenBook)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
