// paper.cfg: the label sheet catalogue, records of ten lines.
#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "print/PaperModel.h"

namespace q2 {

// One record as stored: the values are texts until a label is selected.
struct TLabelRecord {
    QString Maker, Model;
    QString Orientation, Width, Height, TopMargin, BottomMargin, LeftMargin, RightMargin, Columns, Rows;
};

// Every record of the file in file order; false when it cannot be read.
bool ReadPaperConfig(const QString& path, QList<TLabelRecord>* records);
QList<TLabelRecord> ParsePaperConfig(const QString& text);
// SelectLabelPaper's conversion; nullopt when a value is not a number.
std::optional<TLabelPaper> ToLabelPaper(const TLabelRecord& record);

}  // namespace q2
