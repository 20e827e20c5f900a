// New Year's card marks stored as history entries.
#include "model/NewYearSeason.h"

#include "model/UserInfoList.h"
#include "platform/Prompter.h"

namespace q2 {

QString SeasonMarkTitle(TSeasonMark mark) {
    switch (mark) {
        case TSeasonMark::Sent:
            return QStringLiteral("年賀状送付");
        case TSeasonMark::Received:
            return QStringLiteral("年賀状受取");
        case TSeasonMark::Mourning:
            return QStringLiteral("喪中欠礼");
    }
    return QString();
}

QString SeasonMarkCaption(TSeasonMark mark) {
    switch (mark) {
        case TSeasonMark::Sent:
            return QStringLiteral("送付");
        case TSeasonMark::Received:
            return QStringLiteral("受取");
        case TSeasonMark::Mourning:
            return QStringLiteral("喪中");
    }
    return QString();
}

QString SeasonMarkLetter(TSeasonMark mark) {
    return SeasonMarkCaption(mark).left(1);
}

int SeasonOf(QDate date) {
    if (!date.isValid()) return 0;
    return date.month() >= 11 ? date.year() + 1 : date.year();
}

QDate SeasonFirstDay(int season) {
    return QDate(season - 1, 11, 1);
}

QDate SeasonLastDay(int season) {
    return QDate(season, 10, 31);
}

QString SeasonCaption(int season) {
    return QStringLiteral("%1年 年賀状").arg(season);
}

namespace {

bool IsMark(const THistoryObject& h, const QString& title, int season) {
    return h.HistoryTitle == title && SeasonOf(h.HistoryDate) == season;
}

}  // namespace

bool HasSeasonMark(const TUserInfo& r, TSeasonMark mark, int season) {
    const QString title = SeasonMarkTitle(mark);
    for (const THistoryObject& h : r.CommonHistoryObjectList)
        if (IsMark(h, title, season)) return true;
    return false;
}

QDate SeasonMarkDate(int season, QDate today) {
    return SeasonOf(today) == season ? today : QDate(season, 1, 1);
}

bool SetSeasonMark(TUserInfo& r, TSeasonMark mark, int season, bool on, QDate today) {
    if (HasSeasonMark(r, mark, season) == on) return false;
    THistoryObjectList& list = r.CommonHistoryObjectList;
    const QString title = SeasonMarkTitle(mark);
    if (on) {
        list.Add({SeasonMarkDate(season, today), title, QString()});
        return true;
    }
    // An entry typed by hand may repeat the mark; unticking clears them all,
    // or the box would stay ticked.
    for (int i = list.Count() - 1; i >= 0; --i)
        if (IsMark(list.Item(i), title, season)) list.Delete(i);
    return true;
}

TSeasonMarkChanges MarkSeason(const std::vector<TUserInfo*>& records, TSeasonMark mark, int season,
                              QDate today) {
    TSeasonMarkChanges changes;
    for (TUserInfo* r : records) {
        if (!r || HasSeasonMark(*r, mark, season)) continue;
        // The same record listed twice is marked once.
        bool seen = false;
        for (const TSeasonMarkChange& c : changes) seen = seen || c.Record == r;
        if (seen) continue;
        TSeasonMarkChange change{r, r->CommonHistoryObjectList, {}};
        SetSeasonMark(*r, mark, season, true, today);
        change.After = r->CommonHistoryObjectList;
        changes.push_back(std::move(change));
    }
    return changes;
}

TSeasonMarkChanges AskAndMarkSent(const std::vector<TUserInfo*>& printed, int season, QDate today) {
    if (printed.empty()) return {};
    const QString question =
        QStringLiteral("印刷した %1 件に今年の「年賀状送付」を記録しますか？").arg(printed.size());
    if (!GetPrompter().Ask(question)) return {};
    return MarkSeason(printed, TSeasonMark::Sent, season, today);
}

void UndoSeasonMarks(const TSeasonMarkChanges& changes) {
    for (auto it = changes.rbegin(); it != changes.rend(); ++it)
        it->Record->CommonHistoryObjectList = it->Before;
}

void RedoSeasonMarks(const TSeasonMarkChanges& changes) {
    for (const TSeasonMarkChange& c : changes) c.Record->CommonHistoryObjectList = c.After;
}

bool IsToSend(const TUserInfo& r, int season) {
    return (HasSeasonMark(r, TSeasonMark::Received, season - 1) ||
            HasSeasonMark(r, TSeasonMark::Sent, season - 1)) &&
           !HasSeasonMark(r, TSeasonMark::Mourning, season);
}

TSeasonCounts CountSeason(const TUserInfoList& book, int season) {
    TSeasonCounts n;
    for (int i = 0; i < book.Count(); ++i) {
        const TUserInfo& r = *book.Item(i);
        n.Sent += HasSeasonMark(r, TSeasonMark::Sent, season);
        n.Received += HasSeasonMark(r, TSeasonMark::Received, season);
        n.Mourning += HasSeasonMark(r, TSeasonMark::Mourning, season);
        n.ToSend += IsToSend(r, season);
    }
    return n;
}

std::vector<const TUserInfo*> RecordsToSend(const TUserInfoList& book, int season) {
    std::vector<const TUserInfo*> out;
    for (int i = 0; i < book.Count(); ++i)
        if (IsToSend(*book.Item(i), season)) out.push_back(book.Item(i));
    return out;
}

}  // namespace q2
