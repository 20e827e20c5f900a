// The address list print: columns of the five print types, page geometry,
// column widths, page count and the drawing of one page into any QPainter.
#pragma once

#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <QStringView>
#include <vector>

#include "model/UserInfo.h"
#include "print/PrintFont.h"
#include "print/Units.h"

namespace q2 {

enum class TListColumn {
    Name,
    PrivateTel,
    PrivateTelFax,
    PrivateZip,
    PrivateAddress1,
    PrivateAddress2,
    JointName1,
    JointName2,
    JointName3,
    JointName4,
    Category1,
    Category2,
    Use,
    Memo,
    Company,
    Department,
    Position,
    OfficeTel,
    OfficeTelFax,
    OfficeMail,
    OfficeZip,
    OfficeAddress1,
    OfficeAddress2,
};

constexpr int kListTypeCount = 5;

// Columns of print type 1–5, left to right; empty for any other number.
const std::vector<TListColumn>& ListTypeColumns(int type);
// The line of the dialog naming the columns of a type.
QString ListTypeCaption(int type);
QString ListColumnTitle(TListColumn column);
// The text a column's width starts from: the title and a full-width blank.
QString ListColumnMeasuringTitle(TListColumn column);
QString ListColumnValue(TListColumn column, const TUserInfo& record);

// "ＭＳ Ｐゴシック" 8 points at the printer's vertical resolution.
TPrintFont ListPrintFont(Dpi dpi);

// What one print run is given: the physical paper for the chosen
// orientation, in device pixels, and the dialog's choices.
struct TListPageSetup {
    Dpi Resolution;
    DevicePx PaperWidth, PaperHeight;
    int Type = 1;
    bool Rules = true;
    bool PageNumbers = true;
};

// The page's frame: one inch on every side; rows of Pitch pixels from Top.
struct TListGeometry {
    DevicePx Left, Top, Right, Bottom;  // Right and Bottom: the paper edge less the margin
    DevicePx PaperWidth, PaperHeight;
    DevicePx Pitch;       // TextHeight("A") + 2
    DevicePx Indent;      // TextWidth("a"): text starts this far right of its cell
    int RowsPerPage = 0;  // rows below the header
    DevicePx RowTop(int k) const { return Top + Pitch * k; }
};
TListGeometry ListGeometry(const TPrintFont& font, const TListPageSetup& setup);

using TListRecords = std::vector<const TUserInfo*>;

// Widths of the type's columns, measured over every record, marked or not.
std::vector<DevicePx> ListColumnWidths(const TPrintFont& font, int type,
                                       const TListRecords& records);
// Pages for `marked` records at `rowsPerPage`; 0 when nothing fits or nothing is marked.
int ListPageCount(int marked, int rowsPerPage);

// Everything the page drawing reads, computed once per run.
struct TListJob {
    TListPageSetup Setup;
    TPrintFont Font;
    TListGeometry Geometry;
    std::vector<DevicePx> Widths;
    TListRecords Records;
    int PageCount = 0;
};
TListJob MakeListJob(const TListRecords& records, const TListPageSetup& setup);

// Draws `text` with its cell at (x + indent, y + 1), cut at the last whole
// character that ends left of `right`; nothing when not even one fits.
void DrawClippedText(QPainter& painter, const TPrintFont& font, DevicePx x, DevicePx y,
                     DevicePx right, QStringView text);
// The leading part of `text` that DrawClippedText draws.
QString ClippedText(const TPrintFont& font, DevicePx x, DevicePx right, QStringView text);

// Draws page `pageIndex` (from 0) with the paper's top-left corner at the
// painter's origin, starting at record `nextRecord`; returns the index of
// the first record the page did not examine.
int DrawListPage(QPainter& painter, const TListJob& job, int pageIndex, int nextRecord);

// The page number text of page `pageIndex`: "- 1 -" for the first.
QString ListPageNumberText(int pageIndex);

// Every page of the job on a painter begun on `device`; `physicalOffset` is
// the unprintable margin the device's origin lies at (0 for PDF). Returns
// the number of pages.
int PrintListPages(QPainter& painter, QPagedPaintDevice& device, const TListJob& job,
                   DevicePoint physicalOffset = {});

// A4 at `dpi`, portrait or landscape, for PDF output.
TListPageSetup A4ListSetup(Dpi dpi, bool landscape);

// The run into a PDF file of the setup's paper: the number of pages, or -1
// when the file cannot be written (`error` tells why). With no page to print
// no file is written, since a PDF cannot have zero pages.
int WriteListPdf(const QString& path, const TListRecords& records, const TListPageSetup& setup,
                 QString* error = nullptr);

}  // namespace q2
