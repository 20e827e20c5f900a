// The job's paper, the printable area and the print run on a printer.
#include "print/PrinterJob.h"

#include <QPrinterInfo>

namespace q2 {
namespace {

struct TNamedPaper {
    QPageSize::PageSizeId Id;
    const char16_t* Name;
};
// The Japanese sizes Qt names; 角形3号 is missing on purpose: Qt's is
// 216 × 277 mm, longer than the 216 × 227 mm piece.
const TNamedPaper kNamedPapers[] = {
    {QPageSize::Postcard, u"はがき"},
    {QPageSize::EnvelopeChou3, u"長形3号"},
    {QPageSize::EnvelopeChou4, u"長形4号"},
    {QPageSize::EnvelopeKaku2, u"角形2号"},
};

QString SizeText(QSizeF mm) {
    auto n = [](double v) { return QString::number(v, 'g', 4); };
    return QStringLiteral("%1 × %2 mm").arg(n(mm.width()), n(mm.height()));
}

bool SameMm(QSizeF a, QSizeF b) {
    return std::abs(a.width() - b.width()) < 0.05 && std::abs(a.height() - b.height()) < 0.05;
}

// The paper's name, empty for a size of the piece's own millimetres.
QString NameOf(const QPageSize& size) {
    const QSizeF mm = size.size(QPageSize::Millimeter);
    for (const TNamedPaper& p : kNamedPapers) {
        const QSizeF named = QPageSize(p.Id).size(QPageSize::Millimeter);
        if (size.id() == p.Id || SameMm(mm, named) || SameMm(mm.transposed(), named))
            return QString::fromUtf16(p.Name);
    }
    return size.id() == QPageSize::Custom ? QString() : size.name();
}

QString Caption(const QPageSize& size, QSizeF mm) {
    const QString name = NameOf(size);
    return name.isEmpty() ? SizeText(mm) : name + QLatin1Char(' ') + SizeText(mm);
}

}  // namespace

TJobPaper JobPaper(const TPieceSetup& setup) {
    const TPaperGeometry g = setup.Geometry();
    TJobPaper paper;
    if (setup.IsLabel()) {
        paper.Size = QPageSize(QPageSize::A4);
        paper.Orientation = setup.Label && setup.Label->Landscape() ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait;
    } else {
        const QSizeF piece(g.UnitWidth.v, g.UnitHeight.v);
        // 長形3号(横) is the 長形3号 envelope fed across.
        const bool across = piece.width() > piece.height();
        const QSizeF portrait = across ? piece.transposed() : piece;
        paper.Orientation = across ? QPageLayout::Landscape : QPageLayout::Portrait;
        paper.Size = QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        for (const TNamedPaper& p : kNamedPapers)
            if (SameMm(QPageSize(p.Id).size(QPageSize::Millimeter), portrait))
                paper.Size = QPageSize(p.Id);
        // Not a size Qt names: the piece's own millimetres, whatever Qt took it for.
        if (paper.Size.id() != QPageSize::Custom &&
            !SameMm(paper.Size.size(QPageSize::Millimeter), portrait))
            paper.Size =
                QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    }
    QSizeF mm = paper.Size.size(QPageSize::Millimeter);
    if (paper.Orientation == QPageLayout::Landscape) mm.transpose();
    paper.Caption = Caption(paper.Size, mm);
    return paper;
}

void ApplyJobPaper(QPrinter& printer, const TPieceSetup& setup) {
    TJobPaper paper = JobPaper(setup);
    // A file keeps the piece's own millimetres, as the PDFs have always had.
    if (printer.outputFormat() == QPrinter::PdfFormat && !setup.IsLabel()) {
        const TPaperGeometry g = setup.Geometry();
        paper.Size = QPageSize(QSizeF(g.UnitWidth.v, g.UnitHeight.v), QPageSize::Millimeter,
                               QString(), QPageSize::ExactMatch);
        paper.Orientation = QPageLayout::Portrait;
    }
    printer.setPageOrientation(paper.Orientation);
    printer.setPageSize(paper.Size);
    printer.setPageOrientation(paper.Orientation);
}

std::optional<TMmRect> PrintableAreaOf(const QPrinter& printer) {
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    const QMarginsF m = layout.minimumMargins();
    if (m.left() <= 0.05 && m.top() <= 0.05 && m.right() <= 0.05 && m.bottom() <= 0.05)
        return std::nullopt;
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    return TMmRect{Mm(m.left()), Mm(m.top()), Mm(full.width() - m.left() - m.right()),
                   Mm(full.height() - m.top() - m.bottom())};
}

QString PaperCaptionOf(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    return Caption(layout.pageSize(), layout.fullRect(QPageLayout::Millimeter).size());
}

TPrintJobResult PrintJob(QPrinter& printer, const QList<const TUserInfo*>& records,
                         const TPieceSetup& setup, const QString& title) {
    TPrintJobResult result;
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.Message =
            QStringLiteral("印刷を開始できませんでした。プリンタの設定を確かめて下さい。");
        return result;
    }
    // The painter's origin sits at the unprintable margin (none for PDF or a
    // full page): the pieces are drawn back to the paper's corner.
    const int res = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QPoint margin = printer.fullPage() ? QPoint()
                                             : layout.paintRectPixels(res).topLeft() -
                                                   layout.fullRectPixels(res).topLeft();
    result.Pages =
        PrintPieces(painter, printer, records, setup, Dpi{res, res},
                    DevicePoint{DevicePx(margin.x()), DevicePx(margin.y())}, &result.Overflowing);
    result.Ok = painter.end();
    if (!result.Ok) result.Message = QStringLiteral("印刷を完了できませんでした。");
    return result;
}

QStringList PrinterNames() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    const QString def = QPrinterInfo::defaultPrinterName();
    if (names.removeOne(def)) names.prepend(def);
    return names;
}

}  // namespace q2
