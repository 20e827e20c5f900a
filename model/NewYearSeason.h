// New Year's card marks: sent, received and mourning per season, kept as
// ordinary history entries of a record, and the list of records to send to.
#pragma once

#include <QDate>
#include <QString>
#include <array>
#include <vector>

#include "model/UserInfo.h"

namespace q2 {

class TUserInfoList;

enum class TSeasonMark { Sent, Received, Mourning };
constexpr std::array<TSeasonMark, 3> kSeasonMarks = {TSeasonMark::Sent, TSeasonMark::Received,
                                                     TSeasonMark::Mourning};

// The history title a mark is stored under: "年賀状送付", "年賀状受取", "喪中欠礼".
QString SeasonMarkTitle(TSeasonMark mark);
// The check box caption: "送付", "受取", "喪中".
QString SeasonMarkCaption(TSeasonMark mark);
// The one-character list column caption: "送", "受", "喪".
QString SeasonMarkLetter(TSeasonMark mark);

// The season of year Y is the card exchange around New Year Y: it runs from
// 1 November Y-1 to 31 October Y. An invalid date belongs to no season (0).
int SeasonOf(QDate date);
QDate SeasonFirstDay(int season);
QDate SeasonLastDay(int season);
// The season the program starts with: the one today belongs to, which is the
// coming New Year from November on.
inline int DefaultSeason(QDate today) {
    return SeasonOf(today);
}
// "2027年 年賀状".
QString SeasonCaption(int season);
// Seasons the program accepts from the user.
constexpr int kFirstSeason = 1901, kLastSeason = 9999;

bool HasSeasonMark(const TUserInfo& record, TSeasonMark mark, int season);
// The date a new mark gets: today when today lies in the season, else New
// Year's Day of the season, so that the mark always counts where it was ticked.
QDate SeasonMarkDate(int season, QDate today);

// Ticks (one entry appended) or unticks (every entry of that mark in the
// season removed) a mark. True when the history changed.
bool SetSeasonMark(TUserInfo& record, TSeasonMark mark, int season, bool on, QDate today);

// What a marking run changed, record by record, so that a caller can undo
// and redo it as one step. An empty list means nothing changed and the book
// is not modified.
struct TSeasonMarkChange {
    TUserInfo* Record = nullptr;
    THistoryObjectList Before;
    THistoryObjectList After;
};
using TSeasonMarkChanges = std::vector<TSeasonMarkChange>;

// Ticks a mark of a season on every record given (the print run's records);
// records that already carry it are left alone.
TSeasonMarkChanges MarkSeason(const std::vector<TUserInfo*>& records, TSeasonMark mark, int season,
                              QDate today);
// After a print run: asks "印刷した N 件に今年の「年賀状送付」を記録しますか？"
// through the prompter and on Yes marks the printed records sent for the
// season. Nothing is asked for an empty run.
TSeasonMarkChanges AskAndMarkSent(const std::vector<TUserInfo*>& printed, int season, QDate today);
void UndoSeasonMarks(const TSeasonMarkChanges& changes);
void RedoSeasonMarks(const TSeasonMarkChanges& changes);

// A card goes to whoever sent one or got one last season, unless the family
// is in mourning this season.
bool IsToSend(const TUserInfo& record, int season);

struct TSeasonCounts {
    int Sent = 0;
    int Received = 0;
    int Mourning = 0;
    int ToSend = 0;
    bool operator==(const TSeasonCounts&) const = default;
};
TSeasonCounts CountSeason(const TUserInfoList& book, int season);
std::vector<const TUserInfo*> RecordsToSend(const TUserInfoList& book, int season);

}  // namespace q2
