// The address list print: the ruled table of marked records, drawn page by page.
#include "print/ListPrint.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "model/RecordField.h"
#include "print/PrintText.h"

namespace q2 {

namespace {

QString T(const char16_t* s) {
    return QString::fromUtf16(s);
}

// A column: the record field it shows, its title and the text its width starts from.
struct ListColumnInfo {
    TListColumn Column;
    TRecordFieldId Field;
    const char16_t* Title;
    const char16_t* Measuring;
};

using F = TRecordFieldId;
using C = TListColumn;
constexpr ListColumnInfo kListColumns[] = {
    {C::Name, F::PersonalFullName, u"名前", u"名前　"},
    {C::PrivateTel, F::PerSonalTel_1, u"電話", u"電話1　"},
    {C::PrivateTelFax, F::PerSonalTel_2, u"電話/FAX", u"電話2　"},
    {C::PrivateZip, F::PersonalFullZip, u"〒", u"〒　"},
    {C::PrivateAddress1, F::PerSonalAddress_1, u"住所1", u"住所1　"},
    {C::PrivateAddress2, F::PerSonalAddress_2, u"住所2", u"住所2　"},
    {C::JointName1, F::CommonJointNameObj_1_PrintName, u"連名1", u"連名1　"},
    {C::JointName2, F::CommonJointNameObj_2_PrintName, u"連名2", u"連名2　"},
    {C::JointName3, F::CommonJointNameObj_3_PrintName, u"連名3", u"連名3　"},
    {C::JointName4, F::CommonJointNameObj_4_PrintName, u"連名4", u"連名4　"},
    {C::Category1, F::CommonCategory_1, u"分類1", u"分類1　"},
    {C::Category2, F::CommonCategory_2, u"分類2", u"分類2　"},
    {C::Use, F::CommonUseTypePersonal, u"用途", u"用途　"},
    {C::Memo, F::CommonMemo, u"備考", u"その他　"},
    {C::Company, F::OfficeName, u"会社名", u"会社名　"},
    {C::Department, F::OfficePost, u"部署名", u"部署名　"},
    {C::Position, F::OfficeOfficialPosition, u"役職名", u"役職名　"},
    {C::OfficeTel, F::OfficeTel_1, u"会社電話", u"会社電話1　"},
    {C::OfficeTelFax, F::OfficeTel_2, u"会社電話/FAX", u"会社電話2　"},
    {C::OfficeMail, F::OfficeMail_1, u"会社ﾒｰﾙ", u"会社ﾒｰﾙ　"},
    {C::OfficeZip, F::OfficeFullZip, u"会社〒", u"会社〒　"},
    {C::OfficeAddress1, F::OfficeAddress_1, u"会社住所1", u"会社住所1　"},
    {C::OfficeAddress2, F::OfficeAddress_2, u"会社住所2", u"会社住所2　"},
};
static_assert(
    [] {
        for (size_t i = 0; i < std::size(kListColumns); ++i)
            if (static_cast<size_t>(kListColumns[i].Column) != i) return false;
        return true;
    }(),
    "the columns are in the order of TListColumn");

const ListColumnInfo& InfoOf(TListColumn column) {
    return kListColumns[static_cast<int>(column)];
}

// Rounds to the nearest integer, a half to the even neighbour.
int RoundHalfEven(double v) {
    const double f = std::floor(v);
    const double d = v - f;
    int n = static_cast<int>(f);
    if (d > 0.5 || (d == 0.5 && n % 2 != 0)) ++n;
    return n;
}

void Line(QPainter& p, DevicePx x1, DevicePx y1, DevicePx x2, DevicePx y2) {
    p.drawLine(x1.v, y1.v, x2.v, y2.v);
}

// A text of the list with its cell's top-left at `at`, in the list font.
void DrawListText(QPainter& painter, const TPrintFont& font, DevicePoint at, QStringView text) {
    DrawPlainText(painter, font.Resolution(), at, false, font.Size(), font.Face(), text);
}

}  // namespace

const std::vector<TListColumn>& ListTypeColumns(int type) {
    using C = TListColumn;
    static const std::vector<TListColumn> kTypes[kListTypeCount + 1] = {
        {},
        {C::Name, C::PrivateTel, C::PrivateZip, C::PrivateAddress1, C::PrivateAddress2,
         C::JointName1, C::JointName2, C::JointName3, C::JointName4, C::Category1, C::Category2},
        {C::Name, C::Category1, C::Category2, C::Use, C::Memo},
        {C::Name, C::Company, C::Department, C::Position, C::OfficeTel, C::OfficeTelFax,
         C::OfficeMail},
        {C::Name, C::Company, C::OfficeZip, C::OfficeAddress1, C::OfficeAddress2, C::OfficeTel,
         C::OfficeTelFax, C::OfficeMail},
        {C::Name, C::PrivateTel, C::PrivateTelFax, C::Company, C::OfficeTel, C::OfficeTelFax},
    };
    return type >= 1 && type <= kListTypeCount ? kTypes[type] : kTypes[0];
}

QString ListTypeCaption(int type) {
    static const char16_t* const kCaptions[kListTypeCount] = {
        u" 名前｜電話｜〒｜住所１｜住所２｜連名１｜連名２｜連名３｜連名４｜分類１｜分類２｜",
        u" 名前｜分類１｜分類２｜用途｜備考｜",
        u" 名前｜会社名｜部署名｜役職名｜会社電話｜会社電話/FAX｜会社メール｜",
        u" 名前｜会社名｜会社〒｜会社住所１｜会社住所２｜会社電話｜会社電話/FAX｜会社メール｜",
        u" 名前｜電話｜電話/FAX｜会社名｜会社電話｜会社電話/FAX｜",
    };
    return type >= 1 && type <= kListTypeCount ? T(kCaptions[type - 1]) : QString();
}

QString ListColumnTitle(TListColumn column) {
    return T(InfoOf(column).Title);
}

QString ListColumnMeasuringTitle(TListColumn column) {
    return T(InfoOf(column).Measuring);
}

QString ListColumnValue(TListColumn column, const TUserInfo& r) {
    const TRecordField& field = RecordField(InfoOf(column).Field);
    QString text = field.Text(r);
    // A row of the table is one line: line breaks go, whatever their form,
    // so that no control character reaches the page.
    if (field.MultiLine) text.remove(u'\r').remove(u'\n');
    return text;
}

TPrintFont ListPrintFont(Dpi dpi) {
    static const TPrintFace face = ResolvePrintFace(T(u"ＭＳ Ｐゴシック"));
    return MakeTextFont(face, dpi, Points(8));
}

TListGeometry ListGeometry(const TPrintFont& font, const TListPageSetup& s) {
    TListGeometry g;
    // One inch on every side.
    const DevicePx marginX = MmToDeviceX(Mm(25.4), s.Resolution), marginY = MmToDeviceY(Mm(25.4), s.Resolution);
    g.PaperWidth = s.PaperWidth;
    g.PaperHeight = s.PaperHeight;
    g.Left = marginX;
    g.Top = marginY;
    g.Right = s.PaperWidth - marginX;
    g.Bottom = s.PaperHeight - marginY;
    const DevicePx th = TextHeight(font, u"A");
    g.Pitch = th + DevicePx(2);
    g.Indent = MeasureWidth(font, u"a");
    // Rows counted at the text height and four pixels: a row count of its own.
    const DevicePx usable = s.PaperHeight - 2 * marginY, counted = th + DevicePx(4);
    g.RowsPerPage = RoundHalfEven(double(usable.v) / double(counted.v));
    if (g.RowsPerPage < 0) g.RowsPerPage = 0;
    return g;
}

std::vector<DevicePx> ListColumnWidths(const TPrintFont& font, int type,
                                       const TListRecords& records) {
    const std::vector<TListColumn>& columns = ListTypeColumns(type);
    std::vector<DevicePx> widths;
    widths.reserve(columns.size());
    // "電話/FAX" and "会社電話/FAX" are wider than their measuring titles and
    // would run into the next title; a column is never narrower than its own
    // title and a full-width blank.
    for (TListColumn c : columns)
        widths.push_back(std::max(MeasureWidth(font, ListColumnMeasuringTitle(c)),
                                  MeasureWidth(font, ListColumnTitle(c) + QChar(u'　'))));
    // A value is drawn one indent in from its column's edge: it fits only when
    // the indent and the value are narrower than the column, else it would
    // cross the next rule (as "会社用" does under "用途　", both three
    // full-width characters). A value that does not fit widens the column to
    // itself and "あ", which is wider than the indent.
    const DevicePx indent = MeasureWidth(font, u"a");
    const QString wideUse = T(u"会社用");
    for (const TUserInfo* r : records) {
        for (size_t i = 0; i < columns.size(); ++i) {
            const QString value =
                columns[i] == TListColumn::Use ? wideUse : ListColumnValue(columns[i], *r);
            if (!(indent + MeasureWidth(font, value) < widths[i]))
                widths[i] = std::max(widths[i], MeasureWidth(font, value + QChar(u'あ')));
        }
    }
    return widths;
}

int ListPageCount(int marked, int rowsPerPage) {
    if (marked <= 0 || rowsPerPage <= 0) return 0;
    return (marked + rowsPerPage - 1) / rowsPerPage;
}

TListJob MakeListJob(const TListRecords& records, const TListPageSetup& setup) {
    TListJob job;
    job.Setup = setup;
    job.Font = ListPrintFont(setup.Resolution);
    job.Geometry = ListGeometry(job.Font, setup);
    job.Widths = ListColumnWidths(job.Font, setup.Type, records);
    job.Records = records;
    int marked = 0;
    for (const TUserInfo* r : records)
        if (r->CommonPrintCheck) ++marked;
    // A font that could not be made measures nothing: no page is printed.
    job.PageCount = job.Font.IsValid() ? ListPageCount(marked, job.Geometry.RowsPerPage) : 0;
    return job;
}

QString ClippedText(const TPrintFont& font, DevicePx x, DevicePx right, QStringView text) {
    const DevicePx indent = MeasureWidth(font, u"a");
    if (x + MeasureWidth(font, text) + indent < right) return text.toString();
    // Whole characters only: a surrogate pair (and so any character that is
    // two bytes in CP932) is taken or left as one.
    DevicePx width = x + indent;
    qsizetype end = 0;
    while (end < text.size()) {
        qsizetype next = end + 1;
        if (text[end].isHighSurrogate() && next < text.size() && text[next].isLowSurrogate())
            ++next;
        const DevicePx w = width + MeasureWidth(font, text.mid(end, next - end));
        if (!(w < right)) break;
        width = w;
        end = next;
    }
    return text.left(end).toString();
}

void DrawClippedText(QPainter& painter, const TPrintFont& font, DevicePx x, DevicePx y,
                     DevicePx right, QStringView text) {
    // Without a font there is nothing to draw, and making it again for every
    // cell would repeat the font message once per cell.
    if (!font.IsValid()) return;
    const QString part = ClippedText(font, x, right, text);
    if (part.isEmpty()) return;
    const DevicePx indent = MeasureWidth(font, u"a");
    DrawListText(painter, font, DevicePoint{x + indent, y + DevicePx(1)}, part);
}

QString ListPageNumberText(int pageIndex) {
    return QStringLiteral("- %1 -").arg(pageIndex + 1);
}

int DrawListPage(QPainter& painter, const TListJob& job, int pageIndex, int nextRecord) {
    const TListGeometry& g = job.Geometry;
    const std::vector<TListColumn>& columns = ListTypeColumns(job.Setup.Type);
    const bool rules = job.Setup.Rules;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    int r = 1, printed = 0;
    int i = nextRecord;
    const int count = static_cast<int>(job.Records.size());
    while (printed < g.RowsPerPage && i < count) {
        const TUserInfo& record = *job.Records[i++];
        if (!record.CommonPrintCheck) continue;
        ++printed;
        // The header row is the same for every record of the page; it is
        // drawn once, with the first, so that the page holds one copy of it.
        const bool header = r == 1;
        const DevicePx top0 = g.RowTop(r - 1), top1 = g.RowTop(r), top2 = g.RowTop(r + 1);
        if (rules) {
            Line(painter, g.Left, top0, g.Left, top1);
            Line(painter, g.Left, top0, g.Right, top0);
            Line(painter, g.Right, top0, g.Right, top1);
            Line(painter, g.Left, top1, g.Left, top2);
        }
        DevicePx x = g.Left;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) {
                x += job.Widths[c - 1];
                if (rules && x < g.Right && top2 < g.Bottom) Line(painter, x, top0, x, top2);
            }
            if (header)
                DrawClippedText(painter, job.Font, x, g.RowTop(0), g.Right,
                                ListColumnTitle(columns[c]));
            DrawClippedText(painter, job.Font, x, top1, g.Right,
                            ListColumnValue(columns[c], record));
            painter.setPen(QPen(Qt::black, 1));
        }
        if (rules) {
            Line(painter, g.Left, top0, g.Right, top0);
            Line(painter, g.Left, top1, g.Right, top1);
            Line(painter, g.Left, top2, g.Right, top2);
            Line(painter, g.Right, top1, g.Right, top2);
        }
        ++r;
    }
    if (job.Setup.PageNumbers && job.Font.IsValid()) {
        const QString text = ListPageNumberText(pageIndex);
        const DevicePx x = g.PaperWidth / 2 - MeasureWidth(job.Font, text) / 2;
        DrawListText(painter, job.Font, DevicePoint{x + g.Indent, g.Bottom + DevicePx(1)}, text);
    }
    painter.restore();
    return i;
}

int PrintListPages(QPainter& painter, QPagedPaintDevice& device, const TListJob& job,
                   DevicePoint offset) {
    int next = 0;
    for (int page = 0; page < job.PageCount; ++page) {
        if (page > 0) device.newPage();
        painter.save();
        painter.translate(-ToQPointF(offset));
        next = DrawListPage(painter, job, page, next);
        painter.restore();
    }
    return job.PageCount;
}

TListPageSetup A4ListSetup(Dpi dpi, bool landscape) {
    TListPageSetup s;
    s.Resolution = dpi;
    const Mm shortSide(210), longSide(297);
    s.PaperWidth = MmToDeviceX(landscape ? longSide : shortSide, dpi);
    s.PaperHeight = MmToDeviceY(landscape ? shortSide : longSide, dpi);
    return s;
}

int WriteListPdf(const QString& path, const TListRecords& records, const TListPageSetup& setup,
                 QString* error) {
    const TListJob job = MakeListJob(records, setup);
    if (job.PageCount == 0) return 0;
    QPdfWriter pdf(path);
    pdf.setResolution(setup.Resolution.y);
    pdf.setTitle(T(u"-住所録一覧印刷-"));
    pdf.setCreator(QStringLiteral("Quintaro2"));
    const Mm w = DeviceToMmX(setup.PaperWidth, setup.Resolution);
    const Mm h = DeviceToMmY(setup.PaperHeight, setup.Resolution);
    const bool landscape = w > h;
    const QSizeF portrait = landscape ? QSizeF(h.v, w.v) : QSizeF(w.v, h.v);
    pdf.setPageLayout(
        QPageLayout(QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch),
                    landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        if (error) *error = T(u"ファイルに書き込めません: ") + path;
        return -1;
    }
    const int pages = PrintListPages(painter, pdf, job);
    painter.end();
    return pages;
}

}  // namespace q2
