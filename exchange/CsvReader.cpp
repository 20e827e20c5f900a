// The CSV dialect as the import reads it.
#include "CsvReader.h"

#include <QStringDecoder>
#include <algorithm>

#include "platform/Cp932.h"

namespace q2 {
namespace {

const QString kHanSpace = QStringLiteral("#HAN_SPACE#");
const QString kBr = QStringLiteral("#BR#");

bool IsControl(QChar c) {
    return c.unicode() >= 1 && c.unicode() <= 31;
}

bool HasBom(const QByteArray& b) {
    return b.startsWith("\xEF\xBB\xBF");
}

// Strict UTF-8 check: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8WithMultiByte(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    bool multi = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (i + len > n) return false;
        if (p[i + 1] < lo || p[i + 1] > hi) return false;
        for (int k = 2; k < len; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
        multi = true;
        i += len;
    }
    return multi;
}

// Appends the field starting at i and returns the index after it.
qsizetype ReadField(QStringView s, qsizetype i, QString* out) {
    const qsizetype n = s.size();
    if (s[i] == u'"') {
        ++i;
        while (i < n) {
            if (s[i] == u'"') {
                if (i + 1 < n && s[i + 1] == u'"') {
                    if (out) out->append(u'"');
                    i += 2;
                    continue;
                }
                return i + 1;
            }
            // Copy the run up to the next quote in one go.
            qsizetype j = i;
            while (j < n && s[j] != u'"') ++j;
            if (out) out->append(s.mid(i, j - i));
            i = j;
        }
        return n;
    }
    const qsizetype start = i;
    while (i < n && s[i] != u',' && !IsControl(s[i])) ++i;
    if (out) out->append(s.mid(start, i - start));
    return i;
}

// Walks the record; calls onField(field) for every field (field may be null when
// only counting).
template <typename Emit>
void WalkFields(QStringView s, bool build, Emit onField) {
    const qsizetype n = s.size();
    qsizetype i = 0;
    auto skipControls = [&] {
        while (i < n && IsControl(s[i])) ++i;
    };
    skipControls();
    QString field;
    while (i < n) {
        field.clear();
        i = ReadField(s, i, build ? &field : nullptr);
        onField(field);
        skipControls();
        if (i < n && s[i] == u',') {
            const bool last = i + 1 == n;
            ++i;
            skipControls();
            if (last) onField(QString());
        }
    }
}

}  // namespace

CsvEncoding DetectCsvEncoding(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) return CsvEncoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF")) return CsvEncoding::Utf16Be;
    if (HasBom(bytes)) return CsvEncoding::Utf8;
    return IsUtf8WithMultiByte(bytes) ? CsvEncoding::Utf8 : CsvEncoding::Cp932;
}

QString DecodeCsvFile(const QByteArray& bytes, CsvEncoding* encoding) {
    const CsvEncoding e = DetectCsvEncoding(bytes);
    if (encoding) *encoding = e;
    if (e == CsvEncoding::Cp932) return DecodeCp932(bytes);
    if (e == CsvEncoding::Utf16Le || e == CsvEncoding::Utf16Be) {
        QStringDecoder decoder(e == CsvEncoding::Utf16Le ? QStringConverter::Utf16LE
                                                         : QStringConverter::Utf16BE);
        return decoder(QByteArrayView(bytes).sliced(2));
    }
    const qsizetype skip = HasBom(bytes) ? 3 : 0;
    // With a BOM the rest may still hold a damaged sequence: it is replaced,
    // which is all a reader can do with it.
    return QString::fromUtf8(bytes.constData() + skip, bytes.size() - skip);
}

bool DecodeCsvText(const QByteArray& bytes, QString* text, CsvEncoding* encoding) {
    CsvEncoding e;
    QString t = DecodeCsvFile(bytes, &e);
    if (encoding) *encoding = e;
    const bool utf16 = e == CsvEncoding::Utf16Le || e == CsvEncoding::Utf16Be;
    if (!utf16 && bytes.contains('\0')) return false;
    // Undecodable input shows as U+FFFD (UTF-8, UTF-16) or as the lone
    // surrogates DecodeCp932 keeps bad bytes in; NUL counts for UTF-16.
    qsizetype bad = 0;
    for (QChar c : t) {
        if (c.unicode() == 0xFFFD || c.unicode() == 0 || (e == CsvEncoding::Cp932 && c.isSurrogate()))
            ++bad;
    }
    if (bad * 10 >= t.size() && bad > 0) return false;
    *text = std::move(t);
    return true;
}

int WidestCsvRecord(const QStringList& records) {
    int widest = 0;
    for (const QString& r : records) widest = std::max(widest, CountCsvFields(r));
    return widest;
}

QStringList SplitCsvRecords(QStringView text) {
    QStringList records;
    const qsizetype n = text.size();
    qsizetype start = 0, i = 0;
    bool quoted = false;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'"') {
            quoted = !quoted;  // a doubled quote closes and reopens: same state
            ++i;
        } else if (!quoted && (c == u'\r' || c == u'\n')) {
            records.append(text.mid(start, i - start).toString());
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < n) records.append(text.mid(start).toString());
    return records;
}

void MarkLineBreaks(QStringList& records) {
    for (QString& r : records)
        if (r.contains(u'\r')) r.replace(QLatin1String("\r\n"), kBr);
}

QStringList SplitCsvFields(QStringView record) {
    QStringList fields;
    const bool literalSpace = record.contains(kHanSpace);
    WalkFields(record, true, [&](const QString& f) {
        fields.append(f);
        if (literalSpace) fields.last().replace(kHanSpace, QStringLiteral(" "));
    });
    return fields;
}

int CountCsvFields(QStringView record) {
    int count = 0;
    WalkFields(record, false, [&](const QString&) { ++count; });
    return count;
}

QString PreviewText(const QString& field) {
    QString t = field;
    t.remove(kBr, Qt::CaseInsensitive);
    return t;
}

}  // namespace q2
