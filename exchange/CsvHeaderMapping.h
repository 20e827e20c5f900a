// Recognising the header line of a CSV file and proposing the import mapping
// from its column titles: this program's own export, Google Contacts,
// Outlook's Japanese layout, はがきデザインキット's and the plain
// 氏名/ふりがな/郵便番号/住所 kind.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "exchange/CsvImport.h"

namespace q2 {

// A column the proposal adds to every record, made from columns the import
// cannot take one by one (family and given name, prefecture, city and
// street), so that it fits one destination.
// One of several numbered values of a contact (Google's "Phone 1", "Phone 2",
// Outlook's 自宅電話 and 携帯電話): its columns, and the side it belongs to,
// fixed or read from a label column of the same record.
struct TDerivedSlot {
    std::vector<int> Sources;  // joined with the column's separator
    int LabelColumn = -1;      // "Work", "会社", "Home Fax" …; -1 for a fixed side
    bool Work = false;         // the side when there is no label column
    bool Fax = false;
};

struct TDerivedColumn {
    // Join: the sources joined; Reading: joined, in katakana; Date: joined,
    // as a date; Pick: the Nth filled slot of the side, fax numbers after the
    // others; Category: the Nth of the categories the sources list.
    enum class Kind { Join, Reading, Date, Pick, Category };
    Kind How = Kind::Join;
    std::vector<int> Sources;  // original columns, in the order they are joined
    QString Separator;
    QString Title;  // what the header record shows in the new column
    std::vector<TDerivedSlot> Slots;
    bool Work = false;
    int Nth = 0;
};

// True for a label that puts a value on the office side: "Work", "Work Fax",
// "会社", "勤務先", "職場", "仕事" (Google marks the primary one "* Work").
bool IsWorkLabel(const QString& label);

struct THeaderProposal {
    QString Layout;  // e.g. "Googleコンタクト"
    // A destination index for each column, derived columns (after the
    // original ones) included; -1 for none.
    TImportMapping Mapping;
    std::vector<TDerivedColumn> Derived;
    int OriginalColumns = 0;
};

// The proposal for a file whose first record has these fields; nothing when
// the fields are not a header this program knows.
std::optional<THeaderProposal> ProposeCsvMapping(const QStringList& headerFields);

// The proposal in words, one line per destination, e.g.
// "個人名前 ← 姓 + 名" or "個人郵便番号 ← 郵便番号 (自宅)".
QStringList DescribeProposal(const THeaderProposal& proposal, const QStringList& headerFields);

// Rewrites every record (before the line-break marking) with the derived
// columns appended; the first record gets their titles.
void AppendDerivedColumns(QStringList& records, const THeaderProposal& proposal);

}  // namespace q2
