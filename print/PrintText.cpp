// Drawing text cells: glyphs through QRawFont/QGlyphRun, upright with the
// font's vertical forms or turned on their side in vertical writing.
#include "print/PrintText.h"

#include <QGlyphRun>
#include <QVector>

#include "platform/Prompter.h"

namespace q2 {

namespace {

// Collects glyphs of one font and one orientation for a single drawGlyphRun.
class GlyphBatch {
public:
    explicit GlyphBatch(const TPrintFont& font) : font_(font) {}
    void Add(quint32 glyph, QPointF baselinePos) {
        glyphs_.append(glyph);
        positions_.append(baselinePos);
    }
    void Flush(QPainter& painter) {
        if (glyphs_.isEmpty()) return;
        QGlyphRun run;
        run.setRawFont(font_.Raw());
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        painter.drawGlyphRun(QPointF(0, 0), run);
        glyphs_.clear();
        positions_.clear();
    }

private:
    const TPrintFont& font_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

// Shared layout of both drawing operations: each character's cell in turn.
class CellWriter {
public:
    CellWriter(QPainter& painter, const TPrintFont& font, bool vertical)
        : painter_(painter), font_(font), vertical_(vertical), upright_(font) {
        painter_.setPen(Qt::black);
        painter_.setBrush(Qt::NoBrush);
    }
    ~CellWriter() { upright_.Flush(painter_); }

    void Put(char32_t c, DevicePoint cell) {
        if (!font_.IsValid()) return;
        const double k = font_.Raw().pixelSize() / font_.Raw().unitsPerEm();
        if (!vertical_) {
            upright_.Add(GlyphOf(c), QPointF(cell.x.v, cell.y.v + font_.AscentPx()));
            return;
        }
        const TVerticalGlyph g = VerticalGlyph(font_, c);
        const double ch = font_.CellHeight().v;
        const double len = font_.Advance(c).v;
        if (g.Rotated) {
            // As a font with escapement 2700 draws it: the cell's top edge on
            // the column's right, the glyph's head pointing right.
            upright_.Flush(painter_);
            painter_.save();
            painter_.translate(cell.x.v + ch, cell.y.v);
            painter_.rotate(90);
            GlyphBatch one(font_);
            one.Add(g.Glyph, QPointF(0, font_.AscentPx()));
            one.Flush(painter_);
            painter_.restore();
            return;
        }
        // Upright: centred across the column, and along it within the cell
        // the layout gave (IPAPGothic's vertical advances are proportional).
        const double va = g.YAdvance != 0 ? -g.YAdvance * k : len;
        const double top = cell.y.v + (len - va) / 2;
        const double cx = cell.x.v + ch / 2;
        upright_.Add(g.Glyph, QPointF(cx + g.XOffset * k, top - g.YOffset * k));
    }

private:
    quint32 GlyphOf(char32_t c) const { return VerticalGlyph(font_, c).Nominal; }

    QPainter& painter_;
    const TPrintFont& font_;
    bool vertical_;
    GlyphBatch upright_;
};

}  // namespace

TPrintFont MakeTextFont(const TPrintFace& face, int dpi, Points size) {
    TPrintFont font = CreatePrintFont(face, kShiftJisCharset, 0, dpi, size);
    if (!font.IsValid()) GetPrompter().Inform(FontCreationFailedText());
    return font;
}

bool ShrinkOnce(const TPrintFace& face, int dpi, Points& size, TPrintFont& font) {
    const bool more = size.v > 1;
    size = more ? Points(size.v - 1) : Points(1);
    font = MakeTextFont(face, dpi, size);
    return more;
}

void DrawCharCell(QPainter& painter, const TPrintFont& font, char32_t c, DevicePoint cell, bool vertical) {
    CellWriter w(painter, font, vertical);
    w.Put(c, cell);
}

void DrawSpacedText(QPainter& painter, int dpi, QStringView text1, DevicePx pitch, DevicePoint at,
                    bool vertical, Points size, const TPrintFace& face, QStringView text2) {
    const TPrintFont font = MakeTextFont(face, dpi, size);
    CellWriter w(painter, font, vertical);
    // The along-the-line coordinate advances; the other stays.
    DevicePx pos = vertical ? at.y : at.x;
    auto put = [&](char32_t c) {
        w.Put(c, vertical ? DevicePoint{at.x, pos} : DevicePoint{pos, at.y});
    };
    for (char32_t c : text1.toUcs4()) {
        put(c);
        pos += font.Advance(c) + pitch;
    }
    for (char32_t c : text2.toUcs4()) {
        pos += pitch;
        put(c);
        pos += font.Advance(c);
    }
}

void DrawPlainText(QPainter& painter, int dpi, DevicePoint at, bool vertical, Points size,
                   const TPrintFace& face, QStringView text) {
    DrawSpacedText(painter, dpi, text, DevicePx(0), at, vertical, size, face);
}

}  // namespace q2
