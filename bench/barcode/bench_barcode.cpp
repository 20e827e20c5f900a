// Calls per second of GetCBarString on addresses as they are printed.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lumika.h"

namespace {

std::string Sjis(std::string_view utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) throw std::runtime_error("not CP932");
    out.resize(out.size() - outLeft);
    return out;
}

struct Addressee {
    std::string postalCode;
    std::string address;
};

// A mix like an address book's: Arabic and kanji numbers, full-width digits,
// buildings and floors, letters, exception place names.
std::vector<Addressee> Addressees() {
    const char* const rows[][2] = {
        {"263-0023", "千葉県千葉市稲毛区緑町3丁目30-8郵便ビル403号"},
        {"100-0013", "東京都千代田区霞が関一丁目3番2号"},
        {"064-0804", "北海道札幌市中央区南四条西29丁目1524-23第2郵便ハウス501"},
        {"910-0067", "福井県福井市新田塚3丁目80-25J1ビル2-B"},
        {"017-0897", "秋田県大館市三の丸1-2"},
        {"530-0001", "大阪府大阪市北区梅田３－１－３　ノースゲートビルディング１２Ｆ"},
        {"460-0008", "愛知県名古屋市中区栄三丁目十五番三十三号"},
        {"812-0011", "福岡県福岡市博多区博多駅前2-1-1 朝日ビル5F"},
        {"980-0811", "宮城県仙台市青葉区一番町四丁目1-25"},
        {"170-6045", "東京都豊島区東池袋サンシャイン60 45階"},
        {"606-8501", "京都府京都市左京区吉田本町"},
        {"020-0021", "岩手県盛岡市中央通一丁目2番3号　中央ハイツ101"},
        {"150-0002", "東京都渋谷区渋谷2丁目21-1 渋谷ヒカリエ"},
        {"029-5503", "岩手県和賀郡西和賀町清水ヶ野18地割5"},
        {"900-0015", "沖縄県那覇市久茂地1-1-1"},
        {"0691317", "北海道夕張郡長沼町東1線北10番地"},
    };
    std::vector<Addressee> list;
    for (const auto& row : rows) list.push_back({row[0], Sjis(row[1])});
    return list;
}

void BM_GetCBarString(benchmark::State& state) {
    const std::vector<Addressee> list = Addressees();
    char output[LUMIKA_OUTPUT_SIZE];
    std::size_t i = 0;
    for (auto _ : state) {
        const Addressee& a = list[i++ % list.size()];
        benchmark::DoNotOptimize(
            GetCBarString("()ABCDEFGH", a.postalCode.c_str(), a.address.c_str(), output));
        benchmark::ClobberMemory();
    }
    state.counters["calls/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetCBarString);

// The worst case the working text allows: 255 bytes full of markers and numerals.
void BM_GetCBarStringLongAddress(benchmark::State& state) {
    std::string address;
    while (address.size() < 300) address += Sjis("二千三百四十五番地の十一号-");
    char output[LUMIKA_OUTPUT_SIZE];
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetCBarString("()ABCDEFGH", "263-0023", address.c_str(), output));
        benchmark::ClobberMemory();
    }
    state.counters["calls/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GetCBarStringLongAddress);

}  // namespace

BENCHMARK_MAIN();
