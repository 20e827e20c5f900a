// RenderPiece and the page loops of PrintAll: one code path for the
// preview, q2tool, PDF files and printers.
#pragma once

#include <QList>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QSize>
#include <optional>

#include "model/SenderInfo.h"
#include "model/UserInfo.h"
#include "print/CustomerBarcode.h"
#include "print/PaperModel.h"
#include "print/PostalCodeBoxes.h"
#include "print/PrintFont.h"
#include "print/PrintSettings.h"

namespace q2 {

enum class TRenderPurpose { Preview, Print };

// Everything RenderPiece reads, lent by the caller (the dialog or q2tool).
struct TPieceSetup {
    TPrintSettings Settings;
    int Kind = kNengaKind;                    // paper kind on the postcard tab
    std::optional<TLabelPaper> Label;         // the label sheet on the label tab
    const TSenderInfoList* Senders = nullptr;
    TBarcodeFunction Barcode = DefaultBarcodeFunction();
    // Calibration: everything drawn on the piece moves by this much. Taken
    // from the settings for the kind or the label sheet; q2tool may set it.
    TPrintOffset Offset;
    // Where the chosen printer can put ink on the sheet (mm from the sheet's
    // corner, in the job's orientation); none when it prints to every edge.
    std::optional<TMmRect> Printable;

    bool IsLabel() const { return Settings.Type == 1; }
    bool Vertical() const { return !IsLabel() && Settings.Vertical; }  // labels print horizontally
    TPaperGeometry Geometry() const;
    TPreviewSize PreviewArea() const;
    PreviewScale FrameScale() const;    // S
    PreviewScale PictureScale() const;  // S'
};

// A setup from the settings: the kind from POSTCARD_INDEX, or `label`.
TPieceSetup MakePieceSetup(const TPrintSettings& settings, std::optional<TLabelPaper> label,
                           const TSenderInfoList* senders);

// round(dpiX × UnitWidth ÷ 25.4) × round(dpiY × UnitHeight ÷ 25.4).
QSize PieceSizePx(const TPieceSetup& setup, Dpi dpi);
// The resolution of the dialog's preview: the preview area's pixels over the unit.
Dpi PreviewDpi(const TPieceSetup& setup);
// The line spacing g of the dialog's preview: 0.2 mm at the frame scale S,
// where a preview pixel is a pixel of the image the piece is drawn on.
DevicePx PreviewSpacing(PreviewScale s);

// What the layout of one piece found, for the print list's "!" column,
// q2tool print's summary and a check before printing.
struct TPieceFindings {
    bool AddressOverflow = false;  // the address does not fit at the floor in three lines
    bool SenderOverflow = false;   // a group of the sender block does not fit at 8 points
    Points AddressSize;
    int AddressLines = 0;
    bool Overflow() const { return AddressOverflow; }
};

// The floor the address of this setup shrinks to.
Points AddressFloor(const TPieceSetup& setup);

// The parts of a piece that put ink on it, as a mask.
enum TInkPart : unsigned {
    InkBarcode = 1,
    InkPostalCode = 2,
    InkAddress = 4,
    InkName = 8,
    InkSender = 16,
    InkAll = 31,
};

struct TRenderOptions {
    bool FillWhite = true;  // the piece painted white first; off when drawing over a preview background
    unsigned Parts = InkAll;  // what is drawn; the layout is the same whatever is left out
};

// Draws one piece with its top-left corner at the painter's origin.
TPieceFindings RenderPiece(QPainter& painter, const TUserInfo& record, const TPieceSetup& setup, Dpi dpi,
                           DevicePx g, TRenderPurpose purpose, TRenderOptions options = {});
// The same layout without drawing, at 600 dpi as printed.
TPieceFindings CheckPiece(const TUserInfo& record, const TPieceSetup& setup);

// The page a PDF of this job uses: the unit for postcards and envelopes, A4
// in the label's orientation for labels; no margins.
QPageLayout JobPageLayout(const TPieceSetup& setup);

// Every piece of the run, a page each (or a label slot each), on a painter
// begun on `device`, at the device's resolution; `physicalOffset` is the
// unprintable margin (0 for PDF).
// Returns the number of pages.
// `overflowing`, when given, receives the indexes of the records whose
// address did not fit at the floor.
int PrintPieces(QPainter& painter, QPagedPaintDevice& device, const QList<const TUserInfo*>& records,
                const TPieceSetup& setup, Dpi dpi, DevicePoint physicalOffset = {},
                QList<int>* overflowing = nullptr);

// The label page and slot of record `index`: page from 0, column, row.
struct TLabelSlot {
    int Page, Column, Row;
};
TLabelSlot LabelSlotOf(const TPaperGeometry& g, int index);

}  // namespace q2
