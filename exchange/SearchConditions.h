// The search conditions and the predicate the address list filters by.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>

#include "model/NewYearSeason.h"
#include "model/RecordField.h"
#include "model/UserInfo.h"

namespace q2 {

constexpr int kSearchRowCount = 5;
constexpr int kSearchTopicCount = 45;
constexpr int kSearchRangeNone = -1;  // no condition row in use: nothing is a hit
constexpr int kSearchRangeAll = 0;

// The topic box items; the index is the topic number.
const QStringList& SearchTopics();
// The record field a topic searches; nullptr for no topic.
const TRecordField* SearchTopicField(int topic);

// The operator texts, written in half-width katakana as the operator box shows them.
namespace SearchOp {
extern const QString Contains, NotContains, StartsWith, EndsWith, Equals, Differs, Greater, Less,
    InMonth;
}

enum class OperandInputMode { Unchanged, Hiragana, FullKatakana, Off };

struct TSearchTopicChoices {
    QStringList Operators;    // first one preselected
    QStringList Suggestions;  // first one preselected; may be empty
    OperandInputMode InputMode = OperandInputMode::Unchanged;
};
// What the row offers for a topic; for the categories the list file is read now.
TSearchTopicChoices SearchTopicChoices(int topic);

// The text topic `topic` yields for a record.
QString SearchTopicText(const TUserInfo& record, int topic, QDate today);

struct TSearchCondition {
    bool Use = false;
    int Topic = 0;
    QString Operand;
    QString Operator;
    bool operator==(const TSearchCondition&) const = default;
};

// The ready New Year's card conditions, about the season chosen in the main
// window ("this year") and the one before it ("last year").
struct TSeasonConditions {
    bool ReceivedLastSeason = false;  // "昨年受け取った人"
    bool SentLastSeason = false;      // "昨年送った人"
    bool ExceptMourning = false;      // "今年喪中の人を除く"
    int Season = 0;
    bool InUse() const { return ReceivedLastSeason || SentLastSeason || ExceptMourning; }
    bool operator==(const TSeasonConditions&) const = default;
};
// The check box captions, in the order of the members above.
const QStringList& SeasonConditionCaptions();
// With both "last year" conditions ticked a record doing either holds, so that
// the three together give the records to send cards to.
bool SeasonConditionsHold(const TSeasonConditions& conditions, const TUserInfo& record);

struct TSearchSettings {
    int Range = kSearchRangeAll;
    std::array<TSearchCondition, kSearchRowCount> Rows;
    TSeasonConditions Season;  // combined with the rows by AND
    bool operator==(const TSearchSettings&) const = default;
};

// The settings prepared for testing many records: operands encoded once.
class TSearchMatcher {
public:
    TSearchMatcher() = default;
    TSearchMatcher(const TSearchSettings& settings, QDate today);
    bool Matches(const TUserInfo& record, int readingRow) const;

private:
    struct Row {
        const TRecordField* Field = nullptr;  // nullptr for a topic number that is none
        int Op = -1;
        QByteArray Operand;  // CP932, spaces removed
        int Month = 0;       // the operand as a number, for the month operator; 0 when none
    };
    bool RowHolds(const Row& row, const TUserInfo& record) const;

    int range_ = kSearchRangeAll;
    std::vector<Row> rows_;
    TSeasonConditions season_;
    QDate today_;
    mutable QByteArray buffer_;  // reused for every record's text
};

// Byte-level rules, on CP932 bytes. Letters are folded only in single-byte
// characters, and no match starts on the second byte of a double-byte one.
bool Cp932Contains(QByteArrayView text, QByteArrayView operand);
bool Cp932EndsWith(QByteArrayView text, QByteArrayView operand);
int Cp932Compare(QByteArrayView a, QByteArrayView b);

}  // namespace q2
