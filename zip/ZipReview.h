// Checking an address book against the postal data after a refresh: codes that
// are gone, addresses that no longer begin with a town of their code, and
// codes that now belong to another town. The town may run on into the second
// address line ("東京都千代田区" / "霞が関１－１").
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace q2 {

class TUserInfo;
class TUserInfoList;

// The data file's entries by code and by address text.
class TZipIndex {
public:
    // False when the file cannot be read.
    bool Load(const QString& dataPath);
    QStringList TextsOf(QStringView code) const;
    struct Match {
        QString Code;
        qsizetype Length = 0;  // characters of the address the entry covers
    };
    // The entry whose text (with or without its prefecture) is the longest
    // beginning of address; Length 0 when none is.
    Match LongestPrefix(QStringView address) const;

private:
    // An open-addressed table of entry numbers. The keys are not stored:
    // each slot's key is a tail of its entry's code or text, so a slot is
    // 16 bytes and a load touches one slot per key.
    struct Cell {
        quint32 hash = 0;
        qint32 entry = -1;  // -1: the slot is free
        qint32 length = 0;  // of the key, a tail of the entry's text
        bool dropped = false;
    };
    struct Table {
        std::vector<Cell> cells;
        qsizetype used = 0;
        void Reset(qsizetype keys);
        void Grow();
    };
    template <typename KeyOf>
    static Cell& FindOrAdd(Table& table, QStringView key, KeyOf keyOf);
    template <typename KeyOf>
    static const Cell* Find(const Table& table, QStringView key, KeyOf keyOf);

    // Every view below is into text_, which is never changed after the load;
    // a copy of the index shares the text and so stays valid.
    QString text_;
    std::vector<QStringView> codes_, texts_;  // of each entry, in the file's order
    std::vector<qint32> previous_;            // the entry before of the same code, -1 at the first
    Table lastOfCode_;                        // code → its last entry
    // Text and prefecture-less text → the first entry it is a tail of; a
    // dropped key names places in several prefectures.
    Table byText_;
};

enum class TZipFindingKind {
    Vanished,     // the code is in the data no more
    TownChanged,  // the address begins with none of its code's towns
    CodeMoved,    // the address's town now has another code
};

struct TZipSuggestion {
    QString Upper, Lower;  // the two postal code boxes
    QString Address;       // the first address line
    // The second line, for an address whose town runs on into it.
    bool SetsAddress2 = false;
    QString Address2;
    QString Text() const;  // "〒100-0013　東京都千代田区霞が関１－１"
    bool operator==(const TZipSuggestion&) const = default;
};

struct TZipFinding {
    int Record = -1;      // index in the book
    bool Office = false;  // the office side, else the private one
    TZipFindingKind Kind = TZipFindingKind::Vanished;
    QString Zip;      // "100-0013" as the record has it
    QString Address;  // the record's address: line 1, and line 2 when the town runs on
    QList<TZipSuggestion> Suggestions;  // best first; empty when none is known
    QString Description() const;        // the kind in the user's words
};

// Every side of every record whose postal code (seven digits) or first
// address line does not fit the data.
QList<TZipFinding> ReviewBook(const TUserInfoList& book, const TZipIndex& data);

// The address line rewritten onto a town of the code: the part after the
// old town name is kept.
QString RewriteAddress(const QString& address, const QString& entryText);

// Writes the suggestion into the record's postal code and first address line.
void ApplySuggestion(TUserInfo& record, bool office, const TZipSuggestion& suggestion);

// The list as q2tool check-zip prints it, one finding a line.
QString FindingLine(const TUserInfo& record, const TZipFinding& finding);

}  // namespace q2
