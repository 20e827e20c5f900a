// RenderPiece (steps 1–13) and the page loops of PrintAll: one code
// path for the preview, q2tool, PDF files and printers.
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

struct TRenderOptions {
    bool FillWhite = true;  // step 1; off when drawing over a preview background
};

// Draws one piece with its top-left corner at the painter's origin.
void RenderPiece(QPainter& painter, const TUserInfo& record, const TPieceSetup& setup, Dpi dpi,
                 DevicePx g, TRenderPurpose purpose, TRenderOptions options = {});

// The page a PDF of this job uses: the unit for postcards and envelopes, A4
// in the label's orientation for labels; no margins.
QPageLayout JobPageLayout(const TPieceSetup& setup);

// PrintAll steps 4–5 on a painter begun on `device`, at the device's
// resolution; `physicalOffset` is the unprintable margin (0 for PDF).
// Returns the number of pages.
int PrintPieces(QPainter& painter, QPagedPaintDevice& device, const QList<const TUserInfo*>& records,
                const TPieceSetup& setup, Dpi dpi, DevicePoint physicalOffset = {});

// The label page and slot of record `index`: page from 0, column, row.
struct TLabelSlot {
    int Page, Column, Row;
};
TLabelSlot LabelSlotOf(const TPaperGeometry& g, int index);

}  // namespace q2
