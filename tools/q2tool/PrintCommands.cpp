// q2tool print and preview: the print run of the marked records into a PDF
// or onto a printer, and the preview image of one print-list row, through the
// print engine.
#include <QElapsedTimer>
#include <cmath>
#include <optional>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "Command.h"
#include "PieceOptions.h"
#include "model/DataPaths.h"
#include "model/NewYearSeason.h"
#include "model/UserInfoList.h"
#include "platform/BookLock.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "print/LabelCatalog.h"
#include "print/PieceRenderer.h"
#include "print/PreviewBackground.h"
#include "print/PrintableArea.h"
#include "print/PrinterJob.h"
#include "preflight/PreflightText.h"

namespace q2tool {
namespace {

using namespace q2;

const char16_t* const kMakers[] = {u"オリジナル", u"ヒサゴ", u"エーワン", u"マクセル", u"サンワサプライ"};

struct Job {
    TUserInfoList book;
    QList<const TUserInfo*> records;  // the print list: marked records in book order
    TSenderInfoList senders;
    TPieceSetup setup;
    int dpi = 600;
    bool writesBook = false;  // --mark-sent: the book is read, changed and written
    TBookLock lock;
};

QList<TLabelRecord> ReadLabels(QString* error) {
    QList<TLabelRecord> labels;
    QString path = GetPaperPath();
    if (!QFileInfo::exists(path) && !InstallDataPath().isEmpty()) path = InstallDataPath() + "/paper.cfg";
    if (!ReadPaperConfig(path, &labels)) *error = QStringLiteral("paper.cfg を開けません: ") + path;
    return labels;
}

// "1.0,-0.5": millimetres right and down, each within ±5 and in tenths.
std::optional<TPrintOffset> ParseOffset(const QString& text) {
    const QStringList xy = text.split(QLatin1Char(','));
    if (xy.size() != 2) return std::nullopt;
    bool okX = false, okY = false;
    const double x = xy[0].trimmed().toDouble(&okX), y = xy[1].trimmed().toDouble(&okY);
    if (!okX || !okY) return std::nullopt;
    const TPrintOffset o{RoundInt(x * 10), RoundInt(y * 10)};
    if (o.Clamped() != o || std::abs(x * 10 - o.Dx) > 1e-6 || std::abs(y * 10 - o.Dy) > 1e-6) return std::nullopt;
    return o;
}

// Options first, then the book. Returns an exit code when it fails.
std::optional<int> Prepare(QStringList& args, int positional, const QString& usage, Job& job) {
    const TPieceOptions piece = TakePieceOptions(args);
    const QString label = TakeOption(args, "--label");
    const QString sender = TakeOption(args, "--sender");
    const bool office = TakeFlag(args, "--office"), zipInArea = TakeFlag(args, "--sender-zip-in-area");
    const QString dpi = TakeOption(args, "--dpi"), password = TakePassword(args);
    const QString latin = TakeOption(args, "--latin"), numerals = TakeOption(args, "--numerals");
    const QString offset = TakeOption(args, "--offset");
    if (args.size() != positional || (!piece.Kind.isEmpty() && !label.isEmpty())) return PrintError(usage), kUsage;

    TPrintSettings st = LoadPrintSettings(GetConfigPath());
    if (const auto failed = ApplyPieceOptions(piece, st)) return *failed;
    bool ok = true;
    if (!sender.isEmpty()) {
        const int n = sender.toInt(&ok);
        if (!ok || n < 1 || n > TSenderInfoList::kSenderCount)
            return PrintError(QStringLiteral("--sender: 1–5")), kUsage;
        st.PrintSender = true;
        st.SuseNo = n - 1;
    }
    if (office) st.SuseType = 1;
    if (zipInArea) st.ZipPrintState = true;
    if (!latin.isEmpty()) {
        if (latin == QLatin1String("sideways"))
            st.LatinVertical = TLatinInVertical::Sideways;
        else if (latin == QLatin1String("upright"))
            st.LatinVertical = TLatinInVertical::Upright;
        else
            return PrintError(QStringLiteral("--latin: upright|sideways")), kUsage;
    }
    if (!numerals.isEmpty()) {
        if (numerals == QLatin1String("kanji"))
            st.NumeralsVertical = TVerticalNumerals::Kanji;
        else if (numerals == QLatin1String("kanji-positional"))
            st.NumeralsVertical = TVerticalNumerals::KanjiPositional;
        else if (numerals == QLatin1String("arabic"))
            st.NumeralsVertical = TVerticalNumerals::Arabic;
        else
            return PrintError(QStringLiteral("--numerals: kanji|kanji-positional|arabic")), kUsage;
    }
    std::optional<TPrintOffset> givenOffset;
    if (!offset.isEmpty()) {
        givenOffset = ParseOffset(offset);
        if (!givenOffset) return PrintError(QStringLiteral("--offset DX,DY: mm, -5.0–5.0 in steps of 0.1")), kUsage;
    }
    if (!dpi.isEmpty()) {
        job.dpi = dpi.toInt(&ok);
        if (!ok || job.dpi < 50 || job.dpi > 2400) return PrintError(QStringLiteral("--dpi: 50–2400")), kUsage;
    }

    std::optional<TLabelPaper> paper;
    if (!label.isEmpty()) st.Type = 1;
    if (st.Type == 1) {
        QString error;
        const QList<TLabelRecord> labels = ReadLabels(&error);
        const TLabelRecord* chosen = nullptr;
        if (!label.isEmpty()) {
            const qsizetype slash = label.indexOf(QLatin1Char('/'));
            for (const TLabelRecord& r : labels)
                if (slash > 0 && r.Maker == label.left(slash) && r.Model == label.mid(slash + 1)) chosen = &r;
        } else if (st.PMaker >= 0 && st.PMaker < 5) {
            int row = 0;
            for (const TLabelRecord& r : labels)
                if (r.Maker == QString::fromUtf16(kMakers[st.PMaker]) && row++ == st.PIndex) chosen = &r;
        }
        if (chosen) paper = ToLabelPaper(*chosen);
        if (chosen && !paper) {
            PrintError(LabelPaperProblem(*chosen));
            return kFailure;
        }
        if (!paper) {
            if (!error.isEmpty()) PrintError(error);
            PrintError(QString::fromUtf16(u"印刷用紙が選択されていません。"));
            return kFailure;
        }
        st.Frames = DefaultLabelFrames();
        st.PrintSender = false;
    }

    const QString path = args[0];
    if (job.writesBook && !LockBookForWriting(path, QStringLiteral("print"), job.lock)) return kFailure;
    if (!LoadBookFile(path, password, job.book)) return kFailure;
    for (int i = 0; i < job.book.Count(); ++i)
        if (job.book.Item(i)->CommonPrintCheck) job.records << job.book.Item(i);

    // The senders of the data folder; without a sender file, five empty ones
    // (the tool does not create the file the program would).
    if (QFileInfo::exists(GetSenderPath())) LoadSenderFile(GetSenderPath(), job.senders);
    while (job.senders.Count() < TSenderInfoList::kSenderCount) job.senders.Add();
    job.setup = MakePieceSetup(st, paper, &job.senders);
    if (givenOffset) job.setup.Offset = *givenOffset;
    return std::nullopt;
}

// The run into a PDF file: the pieces' own sizes, no margins.
std::optional<int> PrintToPdf(Job& job, const QString& out, int* pages, QList<int>* overflowing) {
    QPdfWriter pdf(out);
    pdf.setResolution(job.dpi);
    pdf.setTitle(QString::fromUtf16(u"印刷"));
    pdf.setCreator(QStringLiteral("Quintaro2 q2tool"));
    pdf.setPageLayout(JobPageLayout(job.setup));
    QPainter painter;
    if (!painter.begin(&pdf)) {
        PrintError(QStringLiteral("cannot write ") + out);
        return kFailure;
    }
    *pages = PrintPieces(painter, pdf, job.records, job.setup, Dpi{job.dpi, job.dpi}, {}, overflowing);
    painter.end();
    return std::nullopt;
}

// --mark-sent: the printed records get this season's "年賀状送付", written back to the book.
int MarkSent(Job& job, const QString& path, bool markSent) {
    if (!markSent) return kOk;
    std::vector<TUserInfo*> printed;
    for (const TUserInfo* r : job.records) printed.push_back(const_cast<TUserInfo*>(r));
    const int season = DefaultSeason(Today());
    const TSeasonMarkChanges changes = MarkSeason(printed, TSeasonMark::Sent, season, Today());
    if (SaveProblem p; !changes.empty() && !job.book.SaveToFile(path, &p)) {
        PrintError(SaveFailureMessage(p, path));
        return kFailure;
    }
    PrintOut(QString::fromUtf16(u"%1年 年賀状送付を記録: %2 件").arg(season).arg(changes.size()));
    return kOk;
}

// The run on a printer, as the print dialog sends it: the job's paper, the
// parts the printer cannot reach named, the pieces at its resolution.
std::optional<int> PrintOnPrinter(Job& job, const QString& queue, int copies, bool hasDpi, int* pages,
                                  QList<int>* overflowing) {
    QPrinter printer(QPrinter::HighResolution);
    if (auto rc = OpenPrinter(queue, printer, job.setup)) return rc;
    if (hasDpi) printer.setResolution(job.dpi);
    printer.setCopyCount(copies);
    for (qsizetype i = 0; i < job.records.size(); ++i)
        for (const TInkCut& c : InkOutsidePrintable(*job.records[i], job.setup, int(i))) {
            QStringList sides;
            const std::pair<const char16_t*, Mm> edges[] = {{u"上", c.Top}, {u"下", c.Bottom}, {u"左", c.Left}, {u"右", c.Right}};
            for (const auto& [name, by] : edges)
                if (by > Mm(0.05)) sides << PreflightText::InkCut(QString::fromUtf16(name), by.v);
            PrintError(QStringLiteral("! %1 %2: ").arg(i).arg(job.records[i]->PersonalFullName()) +
                       PreflightText::InkOutsidePrintable(InkPartCaption(c.Part), sides));
        }
    const TPrintJobResult result = PrintJob(printer, job.records, job.setup, QString::fromUtf16(u"印刷"));
    if (!result.Ok) {
        PrintError(result.Message);
        return kFailure;
    }
    *pages = result.Pages;
    *overflowing = result.Overflowing;
    PrintOut(QString::fromUtf16(u"%1 に送信しました（用紙 %2、%3 部）").arg(queue, PaperCaptionOf(printer)).arg(copies));
    return std::nullopt;
}

int Print(const QStringList& argsIn) {
    QStringList args = argsIn;
    Job job;
    const bool markSent = TakeFlag(args, "--mark-sent");
    const bool force = TakeFlag(args, "--force");
    job.writesBook = markSent;
    const bool listPrinters = TakeFlag(args, "--list-printers");
    const QString queue = TakeOption(args, "--printer"), copiesText = TakeOption(args, "--copies");
    const bool hasDpi = args.contains(QStringLiteral("--dpi"));
    const QString& usage = Commands()["print"].Usage;
    if (listPrinters) {
        if (!args.isEmpty() || markSent || force || !queue.isEmpty() || !copiesText.isEmpty()) return PrintError(usage), kUsage;
        for (const QString& name : PrinterNames()) PrintOut(name);
        return kOk;
    }
    int copies = 1;
    if (!copiesText.isEmpty()) {
        bool ok = false;
        copies = copiesText.toInt(&ok);
        if (!ok || copies < 1 || copies > 999 || queue.isEmpty())
            return PrintError(QStringLiteral("--copies: 1–999, with --printer")), kUsage;
    }
    if (auto rc = Prepare(args, queue.isEmpty() ? 2 : 1, usage, job)) return *rc;
    if (job.records.isEmpty()) {
        PrintError(QString::fromUtf16(u"印刷対象がありません"));
        return kFailure;
    }
    QElapsedTimer timer;
    timer.start();
    QList<int> overflowing;
    int pages = 0;
    if (queue.isEmpty() && !MayWriteOutput(args[1], {args[0]}, force)) return kFailure;
    if (!queue.isEmpty()) {
        if (auto rc = PrintOnPrinter(job, queue, copies, hasDpi, &pages, &overflowing)) return *rc;
    } else if (auto rc = PrintToPdf(job, args[1], &pages, &overflowing)) {
        return *rc;
    }
    PrintOut(QStringLiteral("%1 records, %2 pages, %3 ms").arg(job.records.size()).arg(pages).arg(timer.elapsed()));
    // The records the print list marks with "!": printed, at the floor, overflowing.
    for (const int i : overflowing)
        PrintOut(QStringLiteral("! %1 %2: ").arg(i).arg(job.records[i]->PersonalFullName()) +
                 QString::fromUtf16(u"住所が最小の文字の大きさでも枠に収まりません"));
    return MarkSent(job, args[0], markSent);
}

int Preview(const QStringList& argsIn) {
    QStringList args = argsIn;
    Job job;
    const bool hasDpi = args.contains(QStringLiteral("--dpi"));
    const bool force = TakeFlag(args, "--force");
    if (auto rc = Prepare(args, 3, Commands()["preview"].Usage, job)) return *rc;
    bool ok = false;
    const int row = args[1].toInt(&ok);
    if (!ok || row < 0 || row >= job.records.size()) {
        PrintError(QStringLiteral("ROW: 0–%1 (the marked records)").arg(job.records.size() - 1));
        return kFailure;
    }
    // The dialog's preview size unless a resolution is asked for.
    const Dpi dpi = hasDpi ? Dpi{job.dpi, job.dpi} : PreviewDpi(job.setup);
    const TPreviewSize area = job.setup.PreviewArea();
    const QSize size = hasDpi ? PieceSizePx(job.setup, dpi) : QSize(area.Width.v, area.Height.v);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const TPaperGeometry g = job.setup.Geometry();
    DrawPreviewBackground(painter, job.setup.IsLabel() ? 0 : job.setup.Kind, g.UnitWidth, g.UnitHeight, dpi);
    RenderPiece(painter, *job.records[row], job.setup, dpi, PrintSpacing(dpi), TRenderPurpose::Preview,
                {false});
    painter.end();
    if (!MayWriteOutput(args[2], {args[0]}, force)) return kFailure;
    if (!image.save(args[2], "PNG")) {
        PrintError(QStringLiteral("cannot write ") + args[2]);
        return kFailure;
    }
    return kOk;
}

const QString kOptions = QStringLiteral(
    "[--kind N | --label MAKER/MODEL] [--horizontal] [--sender N [--office]] [--sender-zip-in-area] "
    "[--barcode] [--font NAME] [--mode N] [--latin upright|sideways] "
    "[--numerals kanji|kanji-positional|arabic] [--offset DX,DY] [--dpi N] [--password P|-]");

const Registrar print(QStringLiteral("print"),
                      {QStringLiteral("print BOOK.QT2 (OUT.pdf | --printer QUEUE [--copies N]) ") + kOptions +
                           " [--mark-sent] [--force]   the marked records into a PDF or onto a printer; "
                           "print --list-printers   the printers' queue names",
                       Print});
const Registrar preview(QStringLiteral("preview"),
                        {QStringLiteral("preview BOOK.QT2 ROW OUT.png ") + kOptions +
                             " [--force]   the preview of one print-list row",
                         Preview});

}  // namespace
}  // namespace q2tool
