// Print text normalisation, step by step.
#include "print/TextNormalize.h"

#include "platform/OsVersion.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

bool IsHalfWidthKatakana(QChar c) { return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F; }

// Only the half-width katakana and their marks widen; ASCII keeps its own steps.
QString WidenKatakana(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && !IsHalfWidthKatakana(text[i])) ++i;
    if (i == text.size()) return text;
    QString out = text.left(i);
    while (i < text.size()) {
        qsizetype j = i;
        while (j < text.size() && IsHalfWidthKatakana(text[j]) == IsHalfWidthKatakana(text[i])) ++j;
        const QStringView part = QStringView(text).mid(i, j - i);
        out += IsHalfWidthKatakana(text[i]) ? ToFullWidth(part) : part.toString();
        i = j;
    }
    return out;
}

bool IsDigitOrLatin(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 0xFF10 && c <= 0xFF19) || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z') || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
}

const char16_t kKanjiDigits[] = u"〇一二三四五六七八九";

}  // namespace

QString NormalizePrintText(const QString& text) {
    QString s = WidenKatakana(text);
    const QChar bar(0x2015);  // "―"
    s.replace(QLatin1Char('-'), bar);
    s.replace(QChar(0xFF0D), bar);
    if (GetWindowsVersionClass() == 9) s.replace(bar, QLatin1Char('-'));
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z'))
            c = QChar(char16_t(u - 0x20 + 0xFF00));
    }
    return s;
}

QString ToKanjiNumerals(const QString& text) {
    QString s = text;
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) c = QChar(kKanjiDigits[u - 0xFF10]);
    }
    return s;
}

QString ToVerticalNumerals(const QString& text, TVerticalNumerals numerals) {
    if (numerals == TVerticalNumerals::Arabic) return text;
    if (numerals == TVerticalNumerals::Kanji) return ToKanjiNumerals(text);
    QString out;
    out.reserve(text.size());
    auto isDigit = [&](qsizetype i) { return text[i].unicode() >= 0xFF10 && text[i].unicode() <= 0xFF19; };
    qsizetype i = 0;
    while (i < text.size()) {
        if (!isDigit(i)) {
            out += text[i++];
            continue;
        }
        qsizetype j = i;
        while (j < text.size() && isDigit(j)) ++j;
        const int first = text[i].unicode() - 0xFF10;
        // Two digits without a leading zero: a number below 100, said with 十.
        // A zero-padded or longer number is read digit by digit.
        if (j - i == 2 && first != 0) {
            const int ones = text[i + 1].unicode() - 0xFF10;
            if (first > 1) out += QChar(kKanjiDigits[first]);
            out += QChar(u'十');
            if (ones > 0) out += QChar(kKanjiDigits[ones]);
        } else {
            out += ToKanjiNumerals(text.mid(i, j - i));
        }
        i = j;
    }
    return out;
}

bool HorizontalDashAt(const QList<uint>& t, qsizetype i) {
    return t[i] == 0x2015 && i > 0 && i + 1 < t.size() && IsDigitOrLatin(t[i - 1]) && IsDigitOrLatin(t[i + 1]);
}

QString HorizontalDashes(const QString& text) {
    if (!text.contains(QChar(0x2015))) return text;
    const QList<uint> t = text.toUcs4();
    QString out;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char32_t c = HorizontalDashAt(t, i) ? char32_t(0xFF0D) : t[i];
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

QString PrintTrim(const QString& text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].unicode() <= 32) ++b;
    while (e > b && text[e - 1].unicode() <= 32) --e;
    return text.mid(b, e - b);
}

}  // namespace q2
