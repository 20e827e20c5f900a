// The options q2tool print, preview and preflight share to choose the piece:
// --kind, --horizontal, --barcode, --font and --mode.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "print/PieceRenderer.h"
#include "print/PrintSettings.h"

class QPrinter;

namespace q2tool {

struct TPieceOptions {
    QString Kind;
    bool Horizontal = false;
    bool Barcode = false;
    QString Font;
    QString Mode;
    bool Any() const { return !Kind.isEmpty() || Horizontal || Barcode || !Font.isEmpty() || !Mode.isEmpty(); }
};

// Takes the options out of `args`.
TPieceOptions TakePieceOptions(QStringList& args);

// Applies given options to the stored settings as the print dialog would:
// choosing the paper kind or the direction resets the frames. Returns an exit
// code, after the message, when a value is out of range.
std::optional<int> ApplyPieceOptions(const TPieceOptions& options, q2::TPrintSettings& settings);

// --printer QUEUE: the printer of that queue with the job's paper in it, and
// its printable area in the setup. Returns an exit code, after the message,
// when the system has no such printer.
std::optional<int> OpenPrinter(const QString& queue, QPrinter& printer, q2::TPieceSetup& setup);

}  // namespace q2tool
