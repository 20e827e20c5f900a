// Linear scans of the postal code data file; it is read anew for every lookup
// so that an update is seen at once.
#include "ZipData.h"

#include <QFile>

#include "platform/Cp932.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

bool ReadLines(const QString& path, QString* text) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    *text = DecodeCp932(f.readAll());
    return f.error() == QFileDevice::NoError;
}

// Calls fn for each line (CR LF, CR or LF ends one); stops when fn returns false.
template <typename Fn>
void ForEachLine(QStringView text, Fn fn) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && text[i] != u'\r' && text[i] != u'\n') continue;
        if (i > start) fn(text.sliced(start, i - start));
        if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
}

}  // namespace

TZipEntry ParseZipLine(QStringView line) {
    TZipEntry e;
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0) {
        e.Address = line.left(512).toString();
        return e;
    }
    const QStringView code = line.left(comma);
    e.Upper = code.left(3).toString();
    e.Lower = code.mid(3, 128).toString();
    e.Address = line.mid(comma + 1, 512).toString();
    return e;
}

TZipSearch SearchByZip(const QString& dataPath, const QString& upper, const QString& lower) {
    TZipSearch s;
    if (upper.size() < 3) {
        s.Result = TZipSearchResult::NoKey;
        return s;
    }
    s.Label = QStringLiteral("検索キー：") + upper + QLatin1Char('-') + lower;
    const QString key = upper + lower;
    QString text;
    if (!ReadLines(dataPath, &text)) {
        s.Result = TZipSearchResult::FileError;
        return s;
    }
    ForEachLine(text, [&](QStringView line) {
        if (line.startsWith(key)) s.Entries.append(ParseZipLine(line));
        return true;
    });
    s.Result = s.Entries.isEmpty() ? TZipSearchResult::NotFound : TZipSearchResult::Found;
    return s;
}

TZipSearch SearchByAddress(const QString& dataPath, const QString& address) {
    TZipSearch s;
    if (Trim(address).isEmpty()) {
        s.Result = TZipSearchResult::NoKey;
        return s;
    }
    s.Label = QStringLiteral("検索キー：") + address;
    QString text;
    if (!ReadLines(dataPath, &text)) {
        s.Result = TZipSearchResult::FileError;
        return s;
    }
    ForEachLine(text, [&](QStringView line) {
        if (line.contains(address, Qt::CaseInsensitive)) s.Entries.append(ParseZipLine(line));
        return true;
    });
    s.Result = s.Entries.isEmpty() ? TZipSearchResult::NotFound : TZipSearchResult::Found;
    return s;
}

QString ZipSearchMessage(const TZipSearch& search, bool byAddress, const QString& dataPath) {
    switch (search.Result) {
        case TZipSearchResult::Found: return QString();
        case TZipSearchResult::FileError:
            return QStringLiteral("ファイル %1 を開けません").arg(dataPath);
        default:
            return byAddress ? QStringLiteral("住所が不明です") : QStringLiteral("郵便番号が不明です");
    }
}

}  // namespace q2
