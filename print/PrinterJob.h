// The print run on a printer: the paper of the job, the printer's printable
// area, and the pages sent. The print dialog and q2tool print --printer both
// go through here.
#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <QStringList>

#include "print/PieceRenderer.h"

namespace q2 {

// The paper a job asks the printer for: Japanese sizes by their own names
// where Qt knows one of exactly the piece's size, the piece's millimetres
// otherwise; label sheets are A4 in the label's orientation.
struct TJobPaper {
    QPageSize Size;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    QString Caption;  // "はがき 100 × 148 mm", as the print dialog shows it
};
TJobPaper JobPaper(const TPieceSetup& setup);

// Puts the job's paper and orientation into the printer; the printer setup
// dialog opened afterwards starts from them.
void ApplyJobPaper(QPrinter& printer, const TPieceSetup& setup);

// Where the printer's current paper takes ink, in mm from the sheet's corner
// in the job's orientation; none when it prints to every edge.
std::optional<TMmRect> PrintableAreaOf(const QPrinter& printer);

// The caption of the paper the printer holds now ("はがき 100 × 148 mm").
QString PaperCaptionOf(const QPrinter& printer);

// Begins a document on the printer, prints every piece and ends it. The
// message is empty on success.
struct TPrintJobResult {
    bool Ok = false;
    int Pages = 0;
    QList<int> Overflowing;  // records whose address did not fit at the floor
    QString Message;
};
TPrintJobResult PrintJob(QPrinter& printer, const QList<const TUserInfo*>& records,
                         const TPieceSetup& setup, const QString& title);

// The printers the system offers, the default first.
QStringList PrinterNames();

}  // namespace q2
