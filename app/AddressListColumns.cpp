// Address list columns. Sorting builds one key per record and sorts the keys,
// so a 100,000-row list collates each text once rather than at every comparison.
#include "app/AddressListColumns.h"

#include <QCollator>
#include <QLocale>
#include "platform/Clock.h"
#include "model/NameOrder.h"
#include <algorithm>
#include <array>

namespace q2 {
namespace {

constexpr std::array<int, kAddressListColumnCount> kWidths = {
    60,  200, 200, 80,  150, 300, 400, 200, 200, 220, 220, 320, 125, 0,   0,
    300, 300, 150, 300, 400, 200, 200, 220, 220, 320, 200, 200, 120, 110, 120,
    110, 120, 110, 120, 110, 150, 150, 100, 100, 100, 100, 100, 125, 400,
};

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

}  // namespace

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
    if (SortsByNameReading(f->Id)) {
        const std::vector<TUserInfo*> before = list;
        const std::vector<const TUserInfo*> view(before.begin(), before.end());
        const std::vector<size_t> order = NameReadingOrder(view, f->Id, ascending);
        for (size_t i = 0; i < order.size(); ++i) list[i] = before[order[i]];
        return;
    }
    std::vector<std::pair<QCollatorSortKey, TUserInfo*>> keyed;
    keyed.reserve(list.size());
    for (TUserInfo* r : list) keyed.emplace_back(collator.sortKey(f->Text(*r, today)), r);
    SortByKeys(list, keyed, ascending,
               [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b); });
}

}  // namespace q2
