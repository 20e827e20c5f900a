// paper.cfg: the label sheet catalogue, records of ten lines.
#pragma once

#include <QList>
#include <QStringList>
#include <QString>
#include <optional>

#include "print/PaperModel.h"

namespace q2 {

// One record as stored: the values are texts until a label is selected.
struct TLabelRecord {
    QString Maker, Model;
    QString Orientation, Width, Height, TopMargin, BottomMargin, LeftMargin, RightMargin, Columns,
        Rows;
};

// Every record of the file in file order; false when it cannot be read.
bool ReadPaperConfig(const QString& path, QList<TLabelRecord>* records);
QList<TLabelRecord> ParsePaperConfig(const QString& text);
// SelectLabelPaper's conversion; nullopt when a value is not a number.
std::optional<TLabelPaper> ToLabelPaper(const TLabelRecord& record);
// Why ToLabelPaper refuses the record, naming the entry, the value and what
// it should be; empty when it does not.
QString LabelPaperProblem(const TLabelRecord& record);

// The maker tabs of the label list, in tab order; only "オリジナル" is edited.
QStringList LabelMakers();
QString OriginalMaker();

// Registration and deletion work on the file as a list of lines.
bool ReadPaperLines(const QString& path, QStringList* lines);
bool WritePaperLines(const QString& path, const QStringList& lines);
// "*オリジナル," + title, the title as typed.
QString OriginalHeading(const QString& title);
// The ten lines of a new record: the heading, "0'" or "1'", then the eight
// values as typed, each followed by "'".
QStringList LabelRecordLines(const QString& heading, bool landscape, const QStringList& values);
// Removes the first line equal to `heading` and the nine after it; false
// when no line equals it.
bool RemoveLabelRecord(QStringList& lines, const QString& heading);

}  // namespace q2
