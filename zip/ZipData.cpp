// Linear scans of the postal code data file; it is read anew for every lookup
// so that an update is seen at once.
#include "ZipData.h"

#include <QFile>
#include <algorithm>

#include "platform/Cp932.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

bool ReadBytes(const QString& path, QByteArray* bytes) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    *bytes = f.readAll();
    return f.error() == QFileDevice::NoError;
}

// Postal data starts with a line of seven digits and a comma; an empty or
// overwritten file would otherwise answer every search with "not found".
bool LooksLikeZipData(const QByteArray& bytes) {
    if (bytes.size() < 8 || bytes[7] != ',') return false;
    return std::all_of(bytes.begin(), bytes.begin() + 7, [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLineEnd(QChar c) {
    return c == u'\r' || c == u'\n';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Calls fn for each non-empty line (CR LF, CR or LF ends one). CR and LF are
// never the second byte of a CP932 character, so bytes split like text.
template <typename View, typename Fn>
void ForEachLine(View text, Fn fn) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && !IsLineEnd(text[i])) continue;
        if (i > start) fn(text.sliced(start, i - start));
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
    QByteArray bytes;
    if (!ReadBytes(dataPath, &bytes)) {
        s.Result = TZipSearchResult::FileError;
        return s;
    }
    if (!LooksLikeZipData(bytes)) {
        s.Result = TZipSearchResult::Damaged;
        return s;
    }
    // The codes are compared as bytes; only the lines that match are decoded.
    // A character the code page cannot hold matches no line.
    if (IsCp932Encodable(key)) {
        const QByteArray keyBytes = EncodeCp932(key);
        ForEachLine(QByteArrayView(bytes), [&](QByteArrayView line) {
            if (line.startsWith(keyBytes)) s.Entries.append(ParseZipLine(DecodeCp932(line)));
        });
    }
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
    QByteArray bytes;
    if (!ReadBytes(dataPath, &bytes)) {
        s.Result = TZipSearchResult::FileError;
        return s;
    }
    if (!LooksLikeZipData(bytes)) {
        s.Result = TZipSearchResult::Damaged;
        return s;
    }
    // One search through the whole text, each hit widened to its line: the
    // same rows as a test of every line, without a call per line. A key with
    // a line break could only match across lines, so it matches nothing.
    const QString text = DecodeCp932(bytes);
    const bool oneLine =
        std::none_of(address.begin(), address.end(), [](QChar c) { return IsLineEnd(c); });
    qsizetype from = 0;
    while (oneLine && from < text.size()) {
        const qsizetype hit = text.indexOf(address, from, Qt::CaseInsensitive);
        if (hit < 0) break;
        qsizetype start = hit, end = hit + address.size();
        while (start > 0 && !IsLineEnd(text[start - 1])) --start;
        while (end < text.size() && !IsLineEnd(text[end])) ++end;
        s.Entries.append(ParseZipLine(QStringView(text).sliced(start, end - start)));
        from = end;
    }
    s.Result = s.Entries.isEmpty() ? TZipSearchResult::NotFound : TZipSearchResult::Found;
    return s;
}

QString ZipSearchMessage(const TZipSearch& search, bool byAddress, const QString& dataPath) {
    switch (search.Result) {
        case TZipSearchResult::Found:
            return QString();
        case TZipSearchResult::FileError:
            return QStringLiteral("ファイル %1 を開けません").arg(dataPath);
        case TZipSearchResult::Damaged:
            return QStringLiteral("郵便番号データ %1 が破損しています。"
                                  "「郵便番号データ更新」で新しいデータを取得して下さい。")
                .arg(dataPath);
        default:
            return byAddress ? QStringLiteral("住所が不明です")
                             : QStringLiteral("郵便番号が不明です");
    }
}

}  // namespace q2
