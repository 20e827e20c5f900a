// The address list print: the ruled table of marked records, drawn page by page.
#include "print/ListPrint.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "print/PrintText.h"

namespace q2 {

namespace {

QString T(const char16_t* s) {
    return QString::fromUtf16(s);
}

struct ColumnText {
    const char16_t* Title;
    const char16_t* Measuring;
};

ColumnText TextsOf(TListColumn c) {
    switch (c) {
        case TListColumn::Name:
            return {u"名前", u"名前　"};
        case TListColumn::PrivateTel:
            return {u"電話", u"電話1　"};
        case TListColumn::PrivateTelFax:
            return {u"電話/FAX", u"電話2　"};
        case TListColumn::PrivateZip:
            return {u"〒", u"〒　"};
        case TListColumn::PrivateAddress1:
            return {u"住所1", u"住所1　"};
        case TListColumn::PrivateAddress2:
            return {u"住所2", u"住所2　"};
        case TListColumn::JointName1:
            return {u"連名1", u"連名1　"};
        case TListColumn::JointName2:
            return {u"連名2", u"連名2　"};
        case TListColumn::JointName3:
            return {u"連名3", u"連名3　"};
        case TListColumn::JointName4:
            return {u"連名4", u"連名4　"};
        case TListColumn::Category1:
            return {u"分類1", u"分類1　"};
        case TListColumn::Category2:
            return {u"分類2", u"分類2　"};
        case TListColumn::Use:
            return {u"用途", u"用途　"};
        case TListColumn::Memo:
            return {u"備考", u"その他　"};
        case TListColumn::Company:
            return {u"会社名", u"会社名　"};
        case TListColumn::Department:
            return {u"部署名", u"部署名　"};
        case TListColumn::Position:
            return {u"役職名", u"役職名　"};
        case TListColumn::OfficeTel:
            return {u"会社電話", u"会社電話1　"};
        case TListColumn::OfficeTelFax:
            return {u"会社電話/FAX", u"会社電話2　"};
        case TListColumn::OfficeMail:
            return {u"会社ﾒｰﾙ", u"会社ﾒｰﾙ　"};
        case TListColumn::OfficeZip:
            return {u"会社〒", u"会社〒　"};
        case TListColumn::OfficeAddress1:
            return {u"会社住所1", u"会社住所1　"};
        case TListColumn::OfficeAddress2:
            return {u"会社住所2", u"会社住所2　"};
    }
    return {u"", u""};
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
    return T(TextsOf(column).Title);
}

QString ListColumnMeasuringTitle(TListColumn column) {
    return T(TextsOf(column).Measuring);
}

QString ListColumnValue(TListColumn column, const TUserInfo& r) {
    switch (column) {
        case TListColumn::Name:
            return r.PersonalFullName();
        case TListColumn::PrivateTel:
            return r.PerSonalTel_1;
        case TListColumn::PrivateTelFax:
            return r.PerSonalTel_2;
        case TListColumn::PrivateZip:
            return r.PersonalFullZip();
        case TListColumn::PrivateAddress1:
            return r.PerSonalAddress_1;
        case TListColumn::PrivateAddress2:
            return r.PerSonalAddress_2;
        case TListColumn::JointName1:
            return r.CommonJointNameObj_1.PrintName;
        case TListColumn::JointName2:
            return r.CommonJointNameObj_2.PrintName;
        case TListColumn::JointName3:
            return r.CommonJointNameObj_3.PrintName;
        case TListColumn::JointName4:
            return r.CommonJointNameObj_4.PrintName;
        case TListColumn::Category1:
            return r.CommonCategory_1;
        case TListColumn::Category2:
            return r.CommonCategory_2;
        case TListColumn::Use:
            return r.CommonUseTypePersonal ? T(u"個人用") : T(u"会社用");
        case TListColumn::Memo: {
            // A memo is one row of the table: line breaks go, whatever their form,
            // so that no control character reaches the page.
            QString memo = r.CommonMemo;
            memo.remove(QLatin1Char('\r'));
            memo.remove(QLatin1Char('\n'));
            return memo;
        }
        case TListColumn::Company:
            return r.OfficeName;
        case TListColumn::Department:
            return r.OfficePost;
        case TListColumn::Position:
            return r.OfficeOfficialPosition;
        case TListColumn::OfficeTel:
            return r.OfficeTel_1;
        case TListColumn::OfficeTelFax:
            return r.OfficeTel_2;
        case TListColumn::OfficeMail:
            return r.OfficeMail_1;
        case TListColumn::OfficeZip:
            return r.OfficeFullZip();
        case TListColumn::OfficeAddress1:
            return r.OfficeAddress_1;
        case TListColumn::OfficeAddress2:
            return r.OfficeAddress_2;
    }
    return QString();
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
