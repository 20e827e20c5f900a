// Print text normalisation, step by step.
#include "print/TextNormalize.h"

#include "platform/OsVersion.h"

namespace q2 {

QString NormalizePrintText(const QString& text) {
    QString s = text;
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
    static const char16_t kanji[] = u"〇一二三四五六七八九";
    QString s = text;
    for (QChar& c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) c = QChar(kanji[u - 0xFF10]);
    }
    return s;
}

QString PrintTrim(const QString& text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].unicode() <= 32) ++b;
    while (e > b && text[e - 1].unicode() <= 32) --e;
    return text.mid(b, e - b);
}

}  // namespace q2
