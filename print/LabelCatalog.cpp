// Reading paper.cfg.
#include "print/LabelCatalog.h"

#include <QFile>
#include <cmath>

#include "platform/Cp932.h"
#include "platform/SafeFile.h"
#include "print/TextNormalize.h"

namespace q2 {
namespace {

QString ValueOf(const QString& line) {
    const qsizetype q = line.indexOf(QLatin1Char('\''));
    return q < 0 ? QString() : line.left(q);
}

QStringList SplitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

}  // namespace

QList<TLabelRecord> ParsePaperConfig(const QString& text) {
    const QStringList lines = SplitLines(text);
    QList<TLabelRecord> out;
    for (qsizetype i = 0; i < lines.size() - 1 && i + 9 < lines.size(); i += 10) {
        TLabelRecord r;
        const QString head = lines[i];
        const qsizetype comma = head.indexOf(QLatin1Char(','));
        r.Maker = comma < 0 ? head.mid(1) : head.mid(1, comma - 1);
        r.Model = comma < 0 ? QString() : head.mid(comma + 1);
        QString* values[] = {&r.Orientation, &r.Width,        &r.Height,
                             &r.TopMargin,   &r.BottomMargin, &r.LeftMargin,
                             &r.RightMargin, &r.Columns,      &r.Rows};
        for (int k = 0; k < 9; ++k) *values[k] = ValueOf(lines[i + 1 + k]);
        out << r;
    }
    return out;
}

bool ReadPaperConfig(const QString& path, QList<TLabelRecord>* records) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    *records = ParsePaperConfig(DecodeCp932(f.readAll()));
    return true;
}

QString LabelPaperProblem(const TLabelRecord& r) {
    struct Value {
        const char16_t* Caption;
        const QString* Text;
        bool Count;
    };
    const Value values[] = {{u"横幅", &r.Width, false},       {u"縦幅", &r.Height, false},
                            {u"上余白", &r.TopMargin, false}, {u"下余白", &r.BottomMargin, false},
                            {u"左余白", &r.LeftMargin, false}, {u"右余白", &r.RightMargin, false},
                            {u"列数", &r.Columns, true},      {u"段数", &r.Rows, true}};
    for (const Value& v : values) {
        const QString t = PrintTrim(*v.Text);
        bool good = false;
        QString want;
        if (v.Count) {
            good = t.toInt(&good) > 0 && good;
            want = QStringLiteral("1 以上の整数");
        } else {
            const double d = t.toDouble(&good);
            const bool size = v.Caption[0] == u'横' || v.Caption[0] == u'縦';
            good = good && std::isfinite(d) && (!size || d > 0);
            want = size ? QStringLiteral("0 より大きい数値（mm）") : QStringLiteral("数値（mm）");
        }
        if (!good)
            return QStringLiteral("paper.cfg の用紙「%1,%2」の%3が「%4」です。%5を指定して下さい")
                .arg(r.Maker, r.Model, QString::fromUtf16(v.Caption), *v.Text, want);
    }
    return QString();
}

std::optional<TLabelPaper> ToLabelPaper(const TLabelRecord& r) {
    TLabelPaper p;
    p.Maker = r.Maker;
    p.Model = r.Model;
    p.Orientation = PrintTrim(r.Orientation);
    bool ok = true;
    auto mm = [&](const QString& t) {
        bool good = false;
        const double v = PrintTrim(t).toDouble(&good);
        // "nan" and "inf" read as numbers but measure no sheet.
        ok = ok && good && std::isfinite(v);
        return Mm(v);
    };
    auto count = [&](const QString& t) {
        bool good = false;
        const int v = PrintTrim(t).toInt(&good);
        ok = ok && good && v > 0;
        return v;
    };
    p.Width = mm(r.Width);
    p.Height = mm(r.Height);
    p.TopMargin = mm(r.TopMargin);
    p.BottomMargin = mm(r.BottomMargin);
    p.LeftMargin = mm(r.LeftMargin);
    p.RightMargin = mm(r.RightMargin);
    p.Columns = count(r.Columns);
    p.Rows = count(r.Rows);
    if (!ok || p.Width <= Mm(0) || p.Height <= Mm(0)) return std::nullopt;
    return p;
}

QStringList LabelMakers() {
    return {QString::fromUtf16(u"オリジナル"), QString::fromUtf16(u"ヒサゴ"),
            QString::fromUtf16(u"エーワン"), QString::fromUtf16(u"マクセル"),
            QString::fromUtf16(u"サンワサプライ")};
}

QString OriginalMaker() {
    return QString::fromUtf16(u"オリジナル");
}

bool ReadPaperLines(const QString& path, QStringList* lines) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    *lines = SplitLines(DecodeCp932(f.readAll()));
    return true;
}

bool WritePaperLines(const QString& path, const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += l + QStringLiteral("\r\n");
    return WriteFileAtomically(path, EncodeCp932(text));
}

QString OriginalHeading(const QString& title) {
    return QLatin1Char('*') + OriginalMaker() + QLatin1Char(',') + title;
}

QStringList LabelRecordLines(const QString& heading, bool landscape, const QStringList& values) {
    QStringList out{heading, landscape ? QStringLiteral("1'") : QStringLiteral("0'")};
    for (const QString& v : values) out << v + QLatin1Char('\'');
    return out;
}

bool RemoveLabelRecord(QStringList& lines, const QString& heading) {
    const qsizetype at = lines.indexOf(heading);
    if (at < 0) return false;
    lines.remove(at, std::min<qsizetype>(10, lines.size() - at));
    return true;
}

}  // namespace q2
