// The printer's printable area against the ink of a piece: which part of the
// piece a printer with unprintable margins would cut off, and by how much.
#pragma once

#include <QList>
#include <QString>

#include "print/PieceRenderer.h"

namespace q2 {

// "郵便番号", "カスタマーバーコード", "住所", "宛名", "差出人".
QString InkPartCaption(TInkPart part);

// The ink of one part of a piece, in mm from the sheet's corner (the label's
// slot on a label sheet).
struct TInkExtent {
    TInkPart Part = InkAddress;
    TMmRect Ink;
};
// Every part that puts ink on the piece of record `index` of the run.
QList<TInkExtent> InkExtents(const TUserInfo& record, const TPieceSetup& setup, int index);

// How far the ink of a part reaches past each edge of the printable area
// (0 where it stays inside).
struct TInkCut {
    TInkPart Part = InkAddress;
    Mm Left, Top, Right, Bottom;
    Mm Most() const { return std::max(std::max(Left, Right), std::max(Top, Bottom)); }
};
// The parts of record `index` that the printer of `setup.Printable` would
// cut; nothing when the setup knows no printable area.
QList<TInkCut> InkOutsidePrintable(const TUserInfo& record, const TPieceSetup& setup, int index);

}  // namespace q2
