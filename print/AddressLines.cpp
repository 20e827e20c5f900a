// Address line fitting: shrink to the floor, break, place the lines.
#include "print/AddressLines.h"

#include <algorithm>
#include <optional>

#include "print/PrintText.h"
#include "print/Typeset.h"

namespace q2 {
namespace {

bool IsNumberChar(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= '0' && u <= '9') || (u >= 0xFF10 && u <= 0xFF19)) return true;
    if (IsKanjiNumeral(u) || u == u'千') return true;
    switch (u) {
    case '-': case 0xFF0D: case 0x2015: case 0x2010: case 0x2212:
        return true;
    default:
        return false;
    }
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); }

// Characters that end the part of an address before a building's name.
bool EndsAddressPart(QChar c) {
    return IsNumberChar(c) || IsBlank(c) || QStringView(u"号番地目区市町村郡都道府県").contains(c);
}

struct Candidate {
    qsizetype at;   // the second part starts here
    qsizetype skip; // characters dropped at the break (a blank)
};

QList<Candidate> BlockNumberBreaks(const QString& t) {
    QList<Candidate> out;
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        if (t.mid(i, 2) == u"番地") out.append({i + 2, 0});
        if (t[i] == u'号' && i > 0 && IsNumberChar(t[i - 1]) && !QStringView(u"室棟館").contains(t[i + 1]))
            out.append({i + 1, 0});
        if (t.mid(i, 2) == u"丁目") {
            qsizetype j = i + 2;
            while (j < t.size() && IsNumberChar(t[j])) ++j;
            // The numbers after 丁目 end with 番 or 号 (taken above) or stand alone.
            if (j > i + 2 && (j >= t.size() || !QStringView(u"番号").contains(t[j]))) out.append({j, 0});
        }
    }
    return out;
}

QList<Candidate> BuildingBreaks(const QString& t) {
    static const char16_t* const kNamed[] = {u"ビル", u"マンション", u"ハイツ", u"コーポ", u"様方"};
    static const char16_t* const kNumbered[] = {u"号室", u"棟", u"階"};
    QList<Candidate> out;
    for (const char16_t* w : kNamed) {
        // The building's (or the household's) name goes with the word.
        for (qsizetype k = t.indexOf(QString::fromUtf16(w)); k > 0; k = t.indexOf(QString::fromUtf16(w), k + 1)) {
            qsizetype b = k;
            while (b > 0 && !EndsAddressPart(t[b - 1])) --b;
            out.append({b, 0});
        }
    }
    for (const char16_t* w : kNumbered) {
        // Its number goes with it: ２７階, not ２７ | 階.
        for (qsizetype k = t.indexOf(QString::fromUtf16(w)); k > 0; k = t.indexOf(QString::fromUtf16(w), k + 1)) {
            qsizetype b = k;
            while (b > 0 && IsNumberChar(t[b - 1])) --b;
            out.append({b, 0});
        }
    }
    return out;
}

// After a Kyoto street direction: 河原町通三条上る | 下丸屋町, 押小路下ル | 押西洞院町.
QList<Candidate> StreetBreaks(const QString& t) {
    static const char16_t* const kWays[] = {u"上ル", u"下ル",   u"西入ル", u"東入ル", u"上る",
                                            u"下る", u"西入る", u"東入る", u"西入",   u"東入"};
    QList<Candidate> out;
    if (!t.contains(u'通')) return out;
    for (const char16_t* w : kWays) {
        const QString way = QString::fromUtf16(w);
        for (qsizetype k = t.indexOf(way); k > 0; k = t.indexOf(way, k + 1)) {
            const qsizetype end = k + way.size();
            // 西入 is followed by its ル when the address spells it so.
            if (end < t.size() && (t[end] == u'ル' || t[end] == u'る')) continue;
            // 下ル西入ル is one direction: no break inside it.
            bool more = false;
            for (const char16_t* next : kWays)
                more = more || QStringView(t).mid(end).startsWith(QStringView(next));
            if (!more) out.append({end, 0});
        }
    }
    return out;
}

// After the municipality: the ward of a city (…市…区), else the city, else a
// town or village of a county (…郡…町/村). Only the first of each counts.
QList<Candidate> MunicipalityBreaks(const QString& t) {
    QList<Candidate> out;
    const qsizetype city = t.indexOf(u'市');
    if (city > 0) {
        const qsizetype ward = t.indexOf(u'区', city + 1);
        out.append({ward > city && ward - city <= 5 ? ward + 1 : city + 1, 0});
        return out;
    }
    const qsizetype county = t.indexOf(u'郡');
    if (county > 0)
        for (qsizetype k = county + 2; k < t.size() && k - county <= 5; ++k)
            if (t[k] == u'町' || t[k] == u'村') {
                out.append({k + 1, 0});
                break;
            }
    const qsizetype ward = t.indexOf(u'区');  // the wards of Tokyo
    if (out.isEmpty() && ward > 0 && ward <= 8 && t.left(ward).contains(u'都'))
        out.append({ward + 1, 0});
    return out;
}

QList<Candidate> BlankBreaks(const QString& t) {
    QList<Candidate> out;
    for (qsizetype i = 1; i + 1 < t.size(); ++i)
        if (IsBlank(t[i]) && !IsBlank(t[i - 1])) {
            qsizetype j = i;
            while (j < t.size() && IsBlank(t[j])) ++j;
            out.append({i, j - i});
        }
    return out;
}

// Lines of `texts` with one of them broken in two; nothing when none breaks.
std::optional<QStringList> BreakLongest(const QStringList& texts, const TPrintFont& font) {
    QList<qsizetype> order;
    for (qsizetype i = 0; i < texts.size(); ++i) order << i;
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return MeasureWidth(font, texts[a]) > MeasureWidth(font, texts[b]);
    });
    for (const qsizetype i : order) {
        if (const auto parts = BreakAddressLine(texts[i])) {
            QStringList out = texts;
            out[i] = parts->first;
            out.insert(i + 1, parts->second);
            return out;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::pair<QString, QString>> BreakAddressLine(const QString& t) {
    for (const auto& finder :
         {BlockNumberBreaks, BuildingBreaks, StreetBreaks, MunicipalityBreaks, BlankBreaks}) {
        const QList<Candidate> found = finder(t);
        std::optional<Candidate> best;
        qsizetype bestLonger = t.size() + 1;
        for (const Candidate& c : found) {
            const qsizetype first = c.at, second = t.size() - c.at - c.skip;
            if (first < 2 || second < 2) continue;  // a lone character is no line
            const qsizetype longer = std::max(first, second);
            if (longer < bestLonger) {
                bestLonger = longer;
                best = c;
            }
        }
        if (best) return std::make_pair(t.left(best->at), t.mid(best->at + best->skip));
    }
    return std::nullopt;
}

AddressLayout FitAddressLines(const TPrintFace& face, Dpi dpi, DevicePx g, bool vertical,
                              DeviceRect frame, const QString& line1, const QString& line2,
                              Points startSize, Points floor, Points breakFirst) {
    const QString a = QString::fromUtf16(u"あ");
    const DevicePx L = frame.left, T = frame.top, W = frame.width, H = frame.height;
    const DevicePx length = vertical ? H : W, thickness = vertical ? W : H;
    QStringList texts;
    for (const QString& t : {line1, line2})
        if (!t.isEmpty()) texts << t;

    // Lines (columns) stand half a cell apart where the frame has room, a
    // quarter of a cell where it is narrower (a frame stored by the original
    // is about two 10-point columns wide), never closer.
    const DevicePx margin = vertical ? 2 * g : g;
    auto minGap = [&](DevicePx ch) { return std::max(g, RoundPx(ch / 4.0)); };
    auto thickEnough = [&](int lines, const TPrintFont& f) {
        const int n = std::max(2, lines);  // the frame holds two lines at least
        const DevicePx ch = TextHeight(f);
        return ch * n + minGap(ch) * (n - 1) + margin <= thickness;
    };
    // A line takes its length and one character of indent.
    auto fits = [&](const QStringList& lines, const TPrintFont& f) {
        const DevicePx cw = MeasureWidth(f, a);
        for (const QString& t : lines)
            if (MeasureWidth(f, t) + cw > length) return false;
        return thickEnough(int(lines.size()), f);
    };

    AddressLayout out;
    if (floor > startSize) floor = startSize;
    Points size = startSize;
    TPrintFont font;
    // First the lines broken at the larger size: two or three lines (columns)
    // read better than one squeezed.
    const QStringList given = texts;
    bool done = false;
    if (breakFirst > floor && startSize >= breakFirst) {
        while (true) {
            size = startSize;
            if (ShrinkToFloor(face, dpi, size, font, breakFirst,
                              [&](const TPrintFont& f) { return !fits(texts, f); })) {
                done = true;
                break;
            }
            std::optional<QStringList> broken;
            if (texts.size() < kMaxAddressLines) broken = BreakLongest(texts, font);
            if (!broken) break;
            texts = *broken;
        }
        if (!done) texts = given;
    }
    // When nothing fits, the lines that still stand inside the frame's
    // thickness: running past its foot spoils less than running into the name.
    QStringList fallback = texts;
    while (!done) {
        size = startSize;
        if (ShrinkToFloor(face, dpi, size, font, floor, [&](const TPrintFont& f) { return !fits(texts, f); }))
            break;
        if (thickEnough(int(texts.size()), font)) fallback = texts;
        std::optional<QStringList> broken;
        if (texts.size() < kMaxAddressLines) broken = BreakLongest(texts, font);
        if (!broken) {
            out.Overflow = !texts.isEmpty();
            texts = fallback;
            break;
        }
        texts = *broken;
    }

    const DevicePx ch = TextHeight(font), cw = MeasureWidth(font, a);
    const int n = std::max(2, int(texts.size()));
    const DevicePx slack = (thickness - ch * n - margin) / (n - 1);
    const DevicePx gap = std::max(minGap(ch), std::min(RoundPx(ch / 2.0), slack));
    out.Size = size;
    out.Lines = texts;
    // Line 1 at the frame's start; a shorter line after a longer one starts
    // one character before the other's end and is pulled back to end inside
    // the frame; a line not shorter is indented by one character.
    DevicePx along = vertical ? T : L;
    const DevicePx start = along, end = along + length;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            const DevicePx prev = MeasureWidth(font, texts[i - 1]), cur = MeasureWidth(font, texts[i]);
            if (prev > cur)
                along = std::max(start + cw, std::min(along + prev - cw, end - cur));
            else
                along = start + cw;
        }
        const DevicePx across = (ch + gap) * int(i);
        if (vertical)
            out.Positions << DevicePoint{L + W - g - ch - across, along};
        else
            out.Positions << DevicePoint{along, T + g + across};
    }
    return out;
}

void DrawAddressLines(QPainter& painter, const AddressLayout& layout, const TPrintFace& face, Dpi dpi,
                      bool vertical) {
    for (qsizetype i = 0; i < layout.Lines.size() && i < layout.Positions.size(); ++i)
        DrawPlainText(painter, dpi, layout.Positions[i], vertical, layout.Size, face, layout.Lines[i]);
}

}  // namespace q2
