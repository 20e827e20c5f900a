// Drawing text cells: glyphs through QRawFont/QGlyphRun, upright with the
// font's vertical forms or turned on their side in vertical writing, and a
// text layer of the same characters for PDF files.
#include "print/PrintText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <optional>
#include <QPaintEngine>
#include <QVector>

#include "platform/Prompter.h"
#include "print/Typeset.h"

namespace q2 {

namespace {

// Collects glyphs of one font and one orientation for a single drawGlyphRun.
class GlyphBatch {
public:
    explicit GlyphBatch(const QRawFont& font) : font_(font) {}
    void Add(quint32 glyph, QPointF baselinePos) {
        glyphs_.append(glyph);
        positions_.append(baselinePos);
    }
    void Flush(QPainter& painter) {
        if (glyphs_.isEmpty()) return;
        QGlyphRun run;
        run.setRawFont(font_);
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        painter.drawGlyphRun(QPointF(0, 0), run);
        glyphs_.clear();
        positions_.clear();
    }

private:
    const QRawFont& font_;
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
};

// Whether the painter writes a PDF (a file or a printer's job), which gets
// the text layer: the glyphs carry no characters of their own.
bool WantsTextLayer(QPainter& painter, const TPrintFont& font) {
    const QPaintEngine* e = painter.paintEngine();
    return e && e->type() == QPaintEngine::Pdf && font.HasInkRaw();
}

// Sets units one after another along a line or down a column. Positions
// leave the whole device pixels of the layout here: the painter takes reals.
class UnitWriter {
public:
    UnitWriter(QPainter& painter, const TPrintFont& font, bool vertical)
        : painter_(painter), font_(font), vertical_(vertical), cellHeight_(font.CellHeight().v),
          upright_(font.InkRaw()), textLayer_(font.IsValid() && WantsTextLayer(painter, font)) {
        painter_.setPen(Qt::black);
        painter_.setBrush(Qt::NoBrush);
        if (textLayer_) {
            layerFont_ = QFont(font.Face().Family);
            layerFont_.setPixelSize(std::max(1, RoundInt(font.EmPx())));
            layerFont_.setHintingPreference(QFont::PreferNoHinting);
            layerFont_.setKerning(false);
            layerMetrics_.emplace(layerFont_);
        }
    }
    ~UnitWriter() {
        upright_.Flush(painter_);
        FlushText();
    }

    // `cell` is the unit's top-left: the column's left edge in vertical
    // writing. The unit's text fills `slot` along the line, its cell with the
    // spacing around it, so that a reader of the PDF finds no gap in a word.
    void Put(const QList<uint>& text, const TSetUnit& u, DevicePoint cell, DevicePx slotStart, DevicePx slotLength) {
        if (!font_.IsValid()) return;
        const QPointF at = ToQPointF(cell);
        switch (u.Kind) {
        case TUnitKind::Flat:
            upright_.Add(font_.Glyph(u.Char), QPointF(at.x(), at.y() + font_.AscentPx()));
            break;
        case TUnitKind::Upright:
            PutUpright(u.Char, at, u.Advance.v);
            break;
        case TUnitKind::Sideways:
            PutSideways(QList<uint>{uint(u.Char)}, at);
            break;
        case TUnitKind::Word: {
            QList<uint> ascii;
            for (qsizetype i = u.Begin; i < u.End; ++i) ascii.append(AsciiOf(text[i]));
            if (vertical_) {
                PutSideways(ascii, at);
            } else {
                double x = at.x();
                for (const uint c : ascii) {
                    upright_.Add(font_.Glyph(c), QPointF(x, at.y() + font_.AscentPx()));
                    x += Advance(c);
                }
            }
            break;
        }
        case TUnitKind::Pair:
            PutPair(AsciiOf(text[u.Begin]), AsciiOf(text[u.Begin + 1]), at, u.Advance.v);
            break;
        }
        if (textLayer_) {
            // One text run per drawn text: its units follow one another without gaps.
            if (layerText_.isEmpty()) {
                layerCell_ = at;
                layerStart_ = slotStart;
            }
            layerText_ += LayerText(text, u);
            layerEnd_ = slotStart + slotLength;
        }
    }

private:
    // A character's advance, in the painter's reals.
    double Advance(char32_t c) const { return font_.Advance(c).v; }

    void PutUpright(char32_t c, QPointF cell, double cellLength) {
        const double k = font_.EmPx() / font_.Raw().unitsPerEm();
        const TVerticalGlyph g = VerticalGlyph(font_, c);
        // Centred across the column, and along it within the cell (a
        // proportional face's vertical advance may be shorter than the cell).
        const double va = g.YAdvance != 0 ? -g.YAdvance * k : cellLength;
        const double top = cell.y() + (cellLength - va) / 2;
        const double cx = cell.x() + cellHeight_ / 2;
        upright_.Add(g.Glyph, QPointF(cx + g.XOffset * k, top - g.YOffset * k));
    }

    // As a font with escapement 2700 draws it: the cell's top edge on the
    // column's right, the glyphs' heads pointing right, read downwards.
    void PutSideways(const QList<uint>& chars, QPointF cell) {
        upright_.Flush(painter_);
        painter_.save();
        painter_.translate(cell.x() + cellHeight_, cell.y());
        painter_.rotate(90);
        GlyphBatch run(font_.InkRaw());
        double x = 0;
        for (const uint c : chars) {
            run.Add(font_.Glyph(c), QPointF(x, font_.AscentPx()));
            x += Advance(c);
        }
        run.Flush(painter_);
        painter_.restore();
    }

    // Two half-width digits side by side, centred in one upright cell,
    // narrowed when the face's digits are wider than the column.
    void PutPair(char32_t a, char32_t b, QPointF cell, double cellLength) {
        const double ch = cellHeight_;
        const double w = Advance(a) + Advance(b);
        const double sx = w > 0.95 * ch ? 0.95 * ch / w : 1.0;
        const quint32 ga = font_.Glyph(a), gb = font_.Glyph(b);
        const QRectF ink = font_.Raw().boundingRect(ga).united(font_.Raw().boundingRect(gb));
        const double baseline = cell.y() + cellLength / 2.0 - (ink.top() + ink.bottom()) / 2;
        upright_.Flush(painter_);
        painter_.save();
        painter_.translate(cell.x() + (ch - w * sx) / 2, baseline);
        painter_.scale(sx, 1);
        GlyphBatch run(font_.InkRaw());
        run.Add(ga, QPointF(0, 0));
        run.Add(gb, QPointF(Advance(a), 0));
        run.Flush(painter_);
        painter_.restore();
    }

    // The characters a reader copies from the unit: vertical forms stand for
    // their own characters, a Latin word for its letters as printed.
    static QString LayerText(const QList<uint>& text, const TSetUnit& u) {
        if (u.Kind == TUnitKind::Word || u.Kind == TUnitKind::Pair) {
            QString s;
            for (qsizetype i = u.Begin; i < u.End; ++i) {
                const char32_t c = AsciiOf(text[i]);
                s += QString::fromUcs4(&c, 1);
            }
            return s;
        }
        return QString::fromUcs4(&u.Char, 1);
    }

    // The collected characters as invisible text stretched over the units'
    // slots; in vertical writing turned like the column so that a reader of
    // the PDF takes it top to bottom.
    void FlushText() {
        if (layerText_.isEmpty()) return;
        const double advance = layerMetrics_->horizontalAdvance(layerText_);
        const DevicePx length = layerEnd_ - layerStart_;
        if (advance > 0 && length > DevicePx(0)) {
            painter_.save();
            painter_.setFont(layerFont_);
            painter_.setPen(QPen(Qt::transparent));
            if (vertical_) {
                painter_.translate(layerCell_.x() + cellHeight_, layerStart_.v);
                painter_.rotate(90);
            } else {
                painter_.translate(layerStart_.v, layerCell_.y());
            }
            painter_.scale(length.v / advance, 1);
            painter_.drawText(QPointF(0, font_.AscentPx()), layerText_);
            painter_.restore();
        }
        layerText_.clear();
    }

    QPainter& painter_;
    const TPrintFont& font_;
    bool vertical_;
    double cellHeight_;
    GlyphBatch upright_;
    bool textLayer_;
    QFont layerFont_;
    std::optional<QFontMetricsF> layerMetrics_;
    QString layerText_;
    QPointF layerCell_;
    DevicePx layerStart_, layerEnd_;
};

}  // namespace

TPrintFont MakeTextFont(const TPrintFace& face, Dpi dpi, Points size) {
    TPrintFont font = CreatePrintFont(face, kShiftJisCharset, 0, dpi, size);
    if (!font.IsValid()) GetPrompter().Inform(FontCreationFailedText());
    return font;
}

bool ShrinkOnce(const TPrintFace& face, Dpi dpi, Points& size, TPrintFont& font) {
    const bool more = size > Points(1);
    size = more ? size - Points(1) : Points(1);
    font = MakeTextFont(face, dpi, size);
    return more;
}

void DrawCharCell(QPainter& painter, const TPrintFont& font, char32_t c, DevicePoint cell, bool vertical) {
    const QList<uint> text{uint(c)};
    const std::vector<TSetUnit> units = SetUnits(font, text, vertical);
    UnitWriter w(painter, font, vertical);
    for (const TSetUnit& u : units) w.Put(text, u, cell, vertical ? cell.y : cell.x, u.Advance);
}

void DrawSpacedText(QPainter& painter, Dpi dpi, QStringView text1, DevicePx pitch, DevicePoint at,
                    bool vertical, Points size, const TPrintFace& face, QStringView text2) {
    if (text1.isEmpty() && text2.isEmpty()) return;
    const TPrintFont font = MakeTextFont(face, dpi, size);
    UnitWriter w(painter, font, vertical);
    // The along-the-line coordinate advances; the other stays.
    DevicePx pos = vertical ? at.y : at.x;
    auto put = [&](const QList<uint>& text, const TSetUnit& u, DevicePx slotStart, DevicePx slotLength) {
        w.Put(text, u, vertical ? DevicePoint{at.x, pos} : DevicePoint{pos, at.y}, slotStart, slotLength);
    };
    const QList<uint> t1 = text1.toUcs4();
    for (const TSetUnit& u : SetUnits(font, t1, vertical)) {
        put(t1, u, pos, u.Advance + u.Gap + pitch);
        pos += u.Advance + u.Gap + pitch;
    }
    const QList<uint> t2 = text2.toUcs4();
    for (const TSetUnit& u : SetUnits(font, t2, vertical)) {
        const DevicePx slot = pos;
        pos += pitch;
        put(t2, u, slot, pitch + u.Advance + u.Gap);
        pos += u.Advance + u.Gap;
    }
}

void DrawPlainText(QPainter& painter, Dpi dpi, DevicePoint at, bool vertical, Points size,
                   const TPrintFace& face, QStringView text) {
    DrawSpacedText(painter, dpi, text, DevicePx(0), at, vertical, size, face);
}

}  // namespace q2
