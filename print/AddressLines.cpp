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
    for (const auto& finder : {BlockNumberBreaks, BuildingBreaks, BlankBreaks}) {
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
                              Points startSize, Points floor) {
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
    // When nothing fits, the lines that still stand inside the frame's
    // thickness: running past its foot spoils less than running into the name.
    QStringList fallback = texts;
    while (true) {
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
