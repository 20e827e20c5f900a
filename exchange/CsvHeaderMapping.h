// Recognising the header line of a CSV file and proposing the import mapping
// from its column titles: this program's own export, Google Contacts,
// Outlook's Japanese layout and the plain 氏名/ふりがな/郵便番号/住所 kind.
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
struct TDerivedColumn {
    enum class Kind { Join, Reading, Date };
    Kind How = Kind::Join;
    std::vector<int> Sources;  // original columns, in the order they are joined
    QString Separator;
    QString Title;  // what the header record shows in the new column
};

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

// Rewrites every record (before the line-break marking) with the derived
// columns appended; the first record gets their titles.
void AppendDerivedColumns(QStringList& records, const THeaderProposal& proposal);

}  // namespace q2
