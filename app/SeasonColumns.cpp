// The New Year's card columns of the address list.
#include "app/SeasonColumns.h"

#include <algorithm>

#include "model/NewYearSeason.h"

namespace q2 {
namespace {

// Columns 0–2 are the chosen season, 3–5 the one before.
TSeasonMark MarkOf(int column) {
    return kSeasonMarks[(column - kFirstSeasonColumn) % 3];
}
int SeasonOfColumn(int column, int season) {
    return season - (column - kFirstSeasonColumn) / 3;
}

}  // namespace

QString SeasonColumnCaption(int column, int season) {
    if (!IsSeasonColumn(column)) return QString();
    return QString::number(SeasonOfColumn(column, season)) + SeasonMarkLetter(MarkOf(column));
}

QString SeasonColumnToolTip(int column, int season) {
    if (!IsSeasonColumn(column)) return QString();
    return SeasonCaption(SeasonOfColumn(column, season)) + QLatin1Char(' ') +
           SeasonMarkCaption(MarkOf(column));
}

QString SeasonColumnText(const TUserInfo& r, int column, int season) {
    if (!IsSeasonColumn(column)) return QString();
    return HasSeasonMark(r, MarkOf(column), SeasonOfColumn(column, season)) ? QStringLiteral("●")
                                                                            : QString();
}

void SortDisplayListBySeason(TDisplayList& list, int column, int season, bool ascending) {
    if (!IsSeasonColumn(column)) return;
    const TSeasonMark mark = MarkOf(column);
    const int s = SeasonOfColumn(column, season);
    // One look at each record's history, not one per comparison.
    std::vector<std::pair<bool, TUserInfo*>> keyed;
    keyed.reserve(list.size());
    for (TUserInfo* r : list) keyed.emplace_back(HasSeasonMark(*r, mark, s), r);
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : a.first > b.first;
    });
    for (size_t i = 0; i < keyed.size(); ++i) list[i] = keyed[i].second;
}

}  // namespace q2
