// Conversion of Japan Post's postal code files; the rules are those the
// shipped data was built with (tools/merge-zip-data.py and its sources).
#include "JapanPostData.h"

#include <zip.h>

#include <QStringDecoder>
#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include "platform/Cp932.h"

namespace q2 {
namespace {

// Far above the real files (about 18 MB unpacked): a bigger entry is no
// postal data, and reading stops before it fills the memory.
constexpr qint64 kMaxCsvBytes = 256 * 1024 * 1024;

constexpr int kKenAllColumns = 15;
constexpr int kJigyosyoColumns = 13;

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// One CSV record as views into the decoded text; a quoted field with ""
// inside is unescaped into `owned`, whose strings keep their place in memory.
struct CsvRow {
    std::vector<QStringView> fields;
    std::deque<QString> owned;
};

// Reads the record starting at `pos` and moves `pos` past its line break.
// Quotes may hold commas and line breaks; the files have neither, but a
// reader that knew only their shape would cut a stray quote into two rows.
void ReadCsvRow(QStringView text, qsizetype& pos, CsvRow& row) {
    row.fields.clear();
    row.owned.clear();
    const qsizetype n = text.size();
    while (true) {
        if (pos < n && text[pos] == u'"') {
            const qsizetype start = ++pos;
            bool escaped = false;
            while (pos < n) {
                if (text[pos] == u'"') {
                    if (pos + 1 < n && text[pos + 1] == u'"') {
                        escaped = true;
                        pos += 2;
                        continue;
                    }
                    break;
                }
                ++pos;
            }
            QStringView field = text.sliced(start, pos - start);
            if (pos < n) ++pos;  // the closing quote
            if (escaped) {
                row.owned.push_back(field.toString().replace(QLatin1String("\"\""), QLatin1String("\"")));
                field = row.owned.back();
            }
            row.fields.push_back(field);
            // Anything between the closing quote and the next comma is dropped.
            while (pos < n && text[pos] != u',' && text[pos] != u'\r' && text[pos] != u'\n') ++pos;
        } else {
            const qsizetype start = pos;
            while (pos < n && text[pos] != u',' && text[pos] != u'\r' && text[pos] != u'\n') ++pos;
            row.fields.push_back(text.sliced(start, pos - start));
        }
        if (pos < n && text[pos] == u',') {
            ++pos;
            continue;
        }
        if (pos < n && text[pos] == u'\r') ++pos;
        if (pos < n && text[pos] == u'\n') ++pos;
        return;
    }
}

bool IsSevenDigits(QStringView code) {
    return code.size() == 7 &&
           std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool IsFullWidthDigit(QChar c) { return c >= u'０' && c <= u'９'; }

// "４５階"
bool IsFloor(QStringView note) {
    return note.size() >= 2 && note.endsWith(u'階') &&
           std::all_of(note.begin(), note.end() - 1, IsFullWidthDigit);
}

// Open minus closed full-width parentheses.
int ParenthesisBalance(QStringView text) {
    int depth = 0;
    for (QChar c : text) {
        if (c == u'（') ++depth;
        else if (c == u'）') --depth;
    }
    return depth;
}

// The town rules that apply to residential and business towns alike.
bool IsPlaceholderTown(QStringView city, QStringView town) {
    if (town == u"以下に掲載がない場合") return true;
    // "小菅村の次に６６４番地以降がくる場合" and the like.
    const qsizetype next = town.indexOf(u"の次に");
    if (next >= 0 && town.endsWith(u"がくる場合") && town.indexOf(u'番', next) >= 0) return true;
    // "利島村一円" is the whole village; 犬上郡多賀町's "一円" is a real name.
    return town.size() > 2 && town.endsWith(u"一円") && city.endsWith(town.chopped(2));
}

// A seven-digit code as its number, for sorting and marking.
quint32 CodeNumber(QStringView code) {
    quint32 n = 0;
    for (QChar c : code) n = n * 10 + (c.unicode() - u'0');
    return n;
}

// The code's seven digits, leading zeros included.
template <typename Text>
void AppendSevenDigits(quint32 code, Text& out) {
    char digits[7];
    for (int i = 6; i >= 0; --i, code /= 10) digits[i] = char('0' + code % 10);
    out.append(QLatin1String(digits, 7));
}

struct Line {
    quint32 code;
    bool business;
    QString text;
};

void SetError(QString* error, const QString& text) {
    if (error) *error = text;
}

}  // namespace

bool IsZipArchive(QByteArrayView bytes) {
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

int CsvColumnCount(QByteArrayView csv) {
    // Quotes and commas are ASCII and never a trail byte of CP932 or UTF-8,
    // so the raw bytes can be counted.
    if (csv.startsWith("\xEF\xBB\xBF")) csv = csv.sliced(3);
    while (!csv.isEmpty() && (csv.front() == '\r' || csv.front() == '\n')) csv = csv.sliced(1);
    if (csv.isEmpty()) return 0;
    int columns = 1;
    bool quoted = false;
    for (char c : csv) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            ++columns;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
    }
    return columns;
}

QString DecodeJapanPostCsv(QByteArrayView csv) {
    QByteArrayView body = csv.startsWith("\xEF\xBB\xBF") ? csv.sliced(3) : csv;
    // Japanese text in CP932 is practically never valid UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (utf8.hasError()) return DecodeCp932(csv);
    // The JIS code point of the UTF-8 edition and the one CP932 decodes to.
    static const std::pair<char16_t, char16_t> kJisToCp932[] = {
        {0x2212, 0xFF0D},  // －
        {0x301C, 0xFF5E},  // ～
        {0x2016, 0x2225},  // ∥
        {0x2014, 0x2015},  // ―
        {0x00A2, 0xFFE0},  // ￠
        {0x00A3, 0xFFE1},  // ￡
        {0x00AC, 0xFFE2},  // ￢
    };
    for (QChar& c : text)
        for (const auto& [jis, cp932] : kJisToCp932)
            if (c.unicode() == jis) c = QChar(cp932);
    return text;
}

bool UnpackCsv(QByteArrayView zipBytes, QByteArray* csv, QString* error, QDateTime* modified) {
    csv->clear();
    if (modified) *modified = QDateTime();
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* source = zip_source_buffer_create(zipBytes.data(), zip_uint64_t(zipBytes.size()), 0, &ze);
    if (!source) {
        SetError(error, QString::fromUtf8(zip_error_strerror(&ze)));
        zip_error_fini(&ze);
        return false;
    }
    std::unique_ptr<zip_t, ZipCloser> archive(zip_open_from_source(source, ZIP_RDONLY, &ze));
    if (!archive) {
        SetError(error, QStringLiteral("ZIP: ") + QString::fromUtf8(zip_error_strerror(&ze)));
        zip_error_fini(&ze);
        zip_source_free(source);
        return false;
    }
    zip_error_fini(&ze);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    zip_int64_t chosen = -1;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive.get(), zip_uint64_t(i), 0);
        if (name && QByteArray(name).toUpper().endsWith(".CSV")) {
            chosen = i;
            break;
        }
    }
    if (chosen < 0 && count == 1) chosen = 0;
    if (chosen < 0) {
        SetError(error, QStringLiteral("ZIP: no CSV file inside"));
        return false;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (modified && zip_stat_index(archive.get(), zip_uint64_t(chosen), 0, &st) == 0 &&
        (st.valid & ZIP_STAT_MTIME))
        *modified = QDateTime::fromSecsSinceEpoch(qint64(st.mtime));
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive.get(), zip_uint64_t(chosen), 0));
    if (!file) {
        SetError(error, QStringLiteral("ZIP: ") + QString::fromUtf8(zip_strerror(archive.get())));
        return false;
    }
    // The size in the directory is not trusted: read until the end, within the cap.
    char buffer[64 * 1024];
    while (true) {
        const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            SetError(error, QStringLiteral("ZIP: ") + QString::fromUtf8(zip_file_strerror(file.get())));
            csv->clear();
            return false;
        }
        if (got == 0) return true;
        if (csv->size() + got > kMaxCsvBytes) {
            SetError(error, QStringLiteral("ZIP: the CSV file is too large"));
            csv->clear();
            return false;
        }
        csv->append(buffer, qsizetype(got));
    }
}

QString CleanTownName(QStringView city, QStringView town) {
    if (IsPlaceholderTown(city, town)) return QString();
    QString out;
    out.reserve(town.size());
    qsizetype i = 0;
    while (i < town.size()) {
        if (town[i] != u'（') {
            out += town[i++];
            continue;
        }
        // A note runs to its matching parenthesis, or to the end when it never closes.
        qsizetype end = i + 1;
        int depth = 1;
        for (; end < town.size() && depth > 0; ++end) {
            if (town[end] == u'（') ++depth;
            else if (town[end] == u'）') --depth;
        }
        const bool closed = depth == 0;
        const QStringView note = town.sliced(i + 1, (closed ? end - 1 : end) - (i + 1));
        if (closed && note == u"高層棟") out += town.sliced(i, end - i);
        else if (closed && end == town.size() && IsFloor(note)) {
            out += QChar(u'　');
            out += note;
        }
        i = end;
    }
    return out;
}

bool ConvertJapanPost(QByteArrayView kenAllCsv, QByteArrayView jigyosyoCsv, TJapanPostData* out,
                      QString* error) {
    *out = TJapanPostData();
    std::vector<Line> lines;
    CsvRow row;

    const QString ken = DecodeJapanPostCsv(kenAllCsv);
    lines.reserve(150000);
    qsizetype pos = 0;
    int lineNo = 0;
    // A town whose （ closes on a later row of the same code continues there.
    QString pendingCode, pendingPrefCity, pendingCity, pendingTown;
    auto flush = [&] {
        if (pendingCode.isEmpty()) return;
        lines.push_back({CodeNumber(pendingCode), false, pendingPrefCity + CleanTownName(pendingCity, pendingTown)});
        pendingCode.clear();
    };
    // A quoted line break would split a data line in two.
    const auto hasBreak = [](const CsvRow& r) {
        return std::any_of(r.fields.begin(), r.fields.end(), [](QStringView f) {
            return f.contains(u'\r') || f.contains(u'\n');
        });
    };
    while (pos < ken.size()) {
        ReadCsvRow(ken, pos, row);
        ++lineNo;
        if (row.fields.size() == 1 && row.fields[0].isEmpty()) continue;  // blank line
        if (row.fields.size() != kKenAllColumns) {
            SetError(error, QStringLiteral("KEN_ALL.CSV line %1: %2 columns, not %3")
                                .arg(lineNo).arg(row.fields.size()).arg(kKenAllColumns));
            return false;
        }
        const QStringView code = row.fields[2], pref = row.fields[6], city = row.fields[7],
                          town = row.fields[8];
        if (!IsSevenDigits(code) || hasBreak(row)) {
            SetError(error, QStringLiteral("KEN_ALL.CSV line %1: no seven-digit postal code or a line break in a field").arg(lineNo));
            return false;
        }
        if (!pendingCode.isEmpty() && pendingCode == code && ParenthesisBalance(pendingTown) > 0) {
            pendingTown += town;
            continue;
        }
        flush();
        pendingCode = code.toString();
        pendingPrefCity = pref.toString() + city.toString();
        pendingCity = city.toString();
        pendingTown = town.toString();
    }
    flush();

    const QString jig = DecodeJapanPostCsv(jigyosyoCsv);
    pos = 0;
    lineNo = 0;
    while (pos < jig.size()) {
        ReadCsvRow(jig, pos, row);
        ++lineNo;
        if (row.fields.size() == 1 && row.fields[0].isEmpty()) continue;
        if (row.fields.size() != kJigyosyoColumns) {
            SetError(error, QStringLiteral("JIGYOSYO.CSV line %1: %2 columns, not %3")
                                .arg(lineNo).arg(row.fields.size()).arg(kJigyosyoColumns));
            return false;
        }
        const QStringView pref = row.fields[3], city = row.fields[4], town = row.fields[5],
                          street = row.fields[6], code = row.fields[7];
        if (!IsSevenDigits(code) || hasBreak(row)) {
            SetError(error, QStringLiteral("JIGYOSYO.CSV line %1: no seven-digit postal code or a line break in a field").arg(lineNo));
            return false;
        }
        const QStringView townText = IsPlaceholderTown(city, town) ? QStringView() : town;
        QString text;
        text.reserve(pref.size() + city.size() + townText.size() + street.size());
        text.append(pref).append(city).append(townText).append(street);
        lines.push_back({CodeNumber(code), true, std::move(text)});
    }

    // By code, residential lines before business lines of the same code as
    // the shipped data has them, and each kind in the files' order; a line
    // repeating an earlier one of its code is dropped.
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        return a.code < b.code || (a.code == b.code && !a.business && b.business);
    });
    std::vector<Line> all;
    all.reserve(lines.size());
    size_t group = 0;  // where the kept lines of the current code begin
    for (Line& l : lines) {
        if (all.empty() || all.back().code != l.code) group = all.size();
        const bool repeated = std::any_of(all.begin() + qsizetype(group), all.end(),
                                          [&l](const Line& kept) { return kept.text == l.text; });
        if (repeated) continue;
        (l.business ? out->BusinessLines : out->ResidentialLines) += 1;
        all.push_back(std::move(l));
    }
    lines = std::vector<Line>();
    QString text;
    qsizetype size = 0;
    for (const Line& l : all) size += 7 + l.text.size() + 3;
    text.reserve(size);
    for (const Line& l : all) {
        AppendSevenDigits(l.code, text);
        text += u',';
        text += l.text;
        text += QLatin1String("\r\n");
    }
    out->ZipDat = EncodeCp932(text);

    // Business codes no residential line has, in order: a code's lines
    // begin with its residential ones.
    for (size_t i = 0; i < all.size(); ++i) {
        if (!all[i].business || (i > 0 && all[i - 1].code == all[i].code)) continue;
        AppendSevenDigits(all[i].code, out->NoNumber);
        out->NoNumber += '\n';
    }
    return true;
}

}  // namespace q2
