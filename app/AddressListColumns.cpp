// Address list columns. Sorting builds one key per record and sorts the keys,
// so a 100,000-row list collates each text once rather than at every comparison.
#include "app/AddressListColumns.h"

#include <QCollator>
#include <QLocale>
#include "platform/Clock.h"
#include "platform/WidthMap.h"
#include <algorithm>
#include <array>

namespace q2 {
namespace {

constexpr std::array<int, kAddressListColumnCount> kWidths = {
    60,  200, 200, 80,  150, 300, 400, 200, 200, 220, 220, 320, 125, 0,   0,
    300, 300, 150, 300, 400, 200, 200, 220, 220, 320, 200, 200, 120, 110, 120,
    110, 120, 110, 120, 110, 150, 150, 100, 100, 100, 100, 100, 125, 400,
};

const QCollator& JapaneseCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Japanese, QLocale::Japan));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

template <typename Key>
void SortByKeys(TDisplayList& list, std::vector<std::pair<Key, TUserInfo*>>& keyed, bool ascending,
                auto compare) {
    if (ascending)
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            return compare(a.first, b.first) < 0;
        });
    else
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            return compare(a.first, b.first) > 0;
        });
    for (size_t i = 0; i < keyed.size(); ++i) list[i] = keyed[i].second;
}

// Names sort by their reading as a Japanese reader expects (50音 order):
// kanji in code-point order put 木村 before 中村 and 藤井. A name without a
// reading cannot be placed in the syllabary and goes after those with one.
struct TReadingKey {
    bool NoReading;
    QCollatorSortKey Reading;
    QCollatorSortKey Name;
};

int CompareReadingKeys(const TReadingKey& a, const TReadingKey& b) {
    if (a.NoReading != b.NoReading) return a.NoReading ? 1 : -1;
    if (const int c = a.Reading.compare(b.Reading)) return c;
    return a.Name.compare(b.Name);
}

// The reading as the collator should see it: hiragana and half-width kana
// typed by hand sort with the katakana the editor stores.
QString NormalisedReading(const QString& reading) {
    return ToKatakana(ToFullWidth(reading)).replace(QChar(0x3000), u' ').trimmed();
}

}  // namespace

std::optional<TNameReading> NameReadingOf(const TUserInfo& r, int column) {
    const TRecordField* f = AddressListColumnField(column);
    if (!f) return std::nullopt;
    switch (f->Id) {
        case TRecordFieldId::PersonalFullNameKana:
        case TRecordFieldId::PersonalFullName:
            // One space between the halves: ヤマダ タロウ before ヤマダイ.
            return TNameReading{
                (NormalisedReading(r.PerSonalKana_1) + u' ' + NormalisedReading(r.PerSonalKana_2))
                    .trimmed(),
                r.PersonalFullName()};
        case TRecordFieldId::OfficeKana:
        case TRecordFieldId::OfficeName:
            return TNameReading{NormalisedReading(r.OfficeKana), r.OfficeName};
        default:
            return std::nullopt;
    }
}

const TRecordField* AddressListColumnField(int column) {
    if (column < 0 || column >= kAddressListColumnCount) return nullptr;
    return &RecordField(AddressListFields()[size_t(column)]);
}

QString ColumnCaption(int column) {
    const TRecordField* f = AddressListColumnField(column);
    return f ? f->ListCaption.toString() : QString();
}

int ColumnWidth(int column) {
    return column < 0 || column >= kAddressListColumnCount ? 0 : kWidths[column];
}

QString ColumnText(const TUserInfo& r, int column) {
    const TRecordField* f = AddressListColumnField(column);
    return f ? f->Text(r) : QString();
}

void SortDisplayList(TDisplayList& list, int column, bool ascending) {
    const TRecordField* f = AddressListColumnField(column);
    if (!f) return;
    // One clock reading for the whole sort: ages must not change mid-sort.
    const QDate today = Today();
    if (f->SortsByNumber()) {
        std::vector<std::pair<qint64, TUserInfo*>> keyed;
        keyed.reserve(list.size());
        for (TUserInfo* r : list) keyed.emplace_back(f->SortKey(*r, today), r);
        SortByKeys(list, keyed, ascending,
                   [](qint64 a, qint64 b) { return a < b ? -1 : (a > b ? 1 : 0); });
        return;
    }
    const QCollator& collator = JapaneseCollator();
    if (list.empty()) return;
    if (NameReadingOf(*list.front(), column)) {
        std::vector<std::pair<TReadingKey, TUserInfo*>> keyed;
        keyed.reserve(list.size());
        for (TUserInfo* r : list) {
            const TNameReading n = *NameReadingOf(*r, column);
            keyed.emplace_back(TReadingKey{n.Reading.isEmpty(), collator.sortKey(n.Reading),
                                           collator.sortKey(n.Name)},
                               r);
        }
        SortByKeys(list, keyed, ascending, CompareReadingKeys);
        return;
    }
    std::vector<std::pair<QCollatorSortKey, TUserInfo*>> keyed;
    keyed.reserve(list.size());
    for (TUserInfo* r : list) keyed.emplace_back(collator.sortKey(f->Text(*r, today)), r);
    SortByKeys(list, keyed, ascending,
               [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b); });
}

}  // namespace q2
