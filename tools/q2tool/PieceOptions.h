// The options q2tool print, preview and preflight share to choose the piece:
// --kind, --horizontal, --barcode, --font and --mode.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "print/PrintSettings.h"

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

}  // namespace q2tool
