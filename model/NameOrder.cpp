// The 50音 order of names.
#include "model/NameOrder.h"

#include <QLocale>
#include <algorithm>

#include "platform/WidthMap.h"

namespace q2 {
namespace {

// Kanji in code-point order would put 中村 before 木村 and 藤井; the reading
// is what a Japanese reader sorts by. A name without one cannot be placed in
// the syllabary and goes after those with one.
struct TReadingKey {
    bool NoReading;
    QCollatorSortKey Reading;
    QCollatorSortKey Name;
};

int Compare(const TReadingKey& a, const TReadingKey& b) {
    if (a.NoReading != b.NoReading) return a.NoReading ? 1 : -1;
    if (const int c = a.Reading.compare(b.Reading)) return c;
    return a.Name.compare(b.Name);
}

// Hiragana and half-width kana typed by hand sort with the katakana the
// editor stores.
QString Normalised(const QString& reading) {
    return ToKatakana(ToFullWidth(reading)).replace(QChar(0x3000), u' ').trimmed();
}

}  // namespace

const QCollator& JapaneseCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Japanese, QLocale::Japan));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

bool SortsByNameReading(TRecordFieldId field) {
    switch (field) {
        case TRecordFieldId::PersonalFullNameKana:
        case TRecordFieldId::PersonalFullName:
        case TRecordFieldId::OfficeKana:
        case TRecordFieldId::OfficeName:
            return true;
        default:
            return false;
    }
}

std::optional<TNameReading> NameReadingOf(const TUserInfo& r, TRecordFieldId field) {
    switch (field) {
        case TRecordFieldId::PersonalFullNameKana:
        case TRecordFieldId::PersonalFullName:
            // One space between the halves: ヤマダ タロウ before ヤマダイ.
            return TNameReading{
                (Normalised(r.PerSonalKana_1) + u' ' + Normalised(r.PerSonalKana_2)).trimmed(),
                r.PersonalFullName()};
        case TRecordFieldId::OfficeKana:
        case TRecordFieldId::OfficeName:
            return TNameReading{Normalised(r.OfficeKana), r.OfficeName};
        default:
            return std::nullopt;
    }
}

std::vector<size_t> NameReadingOrder(std::span<const TUserInfo* const> records,
                                     TRecordFieldId field, bool ascending) {
    const QCollator& collator = JapaneseCollator();
    std::vector<TReadingKey> keys;
    keys.reserve(records.size());
    for (const TUserInfo* r : records) {
        const TNameReading n = NameReadingOf(*r, field).value_or(TNameReading{});
        keys.push_back(
            {n.Reading.isEmpty(), collator.sortKey(n.Reading), collator.sortKey(n.Name)});
    }
    std::vector<size_t> order(records.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int c = Compare(keys[a], keys[b]);
        return ascending ? c < 0 : c > 0;
    });
    return order;
}

}  // namespace q2
