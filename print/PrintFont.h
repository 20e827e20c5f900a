// Print fonts: faces resolved through fontconfig, fonts made at
// a cell height in device pixels, and their metrics, cached per face and size.
#pragma once

#include <QRawFont>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

#include "print/Typesetting.h"
#include "print/Units.h"

namespace q2 {

// Character sets of the logical fonts of the original; only recorded.
constexpr int kShiftJisCharset = 128;
constexpr int kSymbolCharset = 2;

// A face name from the settings resolved to an installed family. "@" in front
// of the name asks for vertical writing, as the original's "@" faces did.
struct TPrintFace {
    QString Requested;  // the name as given, "@" included
    QString Family;     // the installed family that draws it
    bool Vertical = false;
    TWriting Writing;   // set by the caller that lays out the texts
    bool operator==(const TPrintFace&) const = default;
};

// "ＭＳ Ｐゴシック", "@ＭＳ Ｐゴシック", "IPAexMincho", …: the named face when it is
// installed and has Japanese glyphs, else IPAPGothic (the metric stand-in).
TPrintFace ResolvePrintFace(const QString& name);
// The postal code box face "MS_ゴシック": itself when installed, else IPAGothic.
TPrintFace ResolveBoxFace();
// Every installed face with the Japanese writing system, sorted, each listed
// as "name" and as "@name" (the font list of the print dialog).
QStringList ListJapaneseFaces();

struct FaceData;
struct FontInstance;

// A font of one face at one cell height. Cheap to copy; metrics are shared.
class TPrintFont {
public:
    TPrintFont() = default;
    bool IsValid() const { return instance_ != nullptr; }
    const TPrintFace& Face() const;
    Points Size() const { return size_; }
    // The resolution it was made for; its cell comes from the vertical one.
    Dpi Resolution() const { return resolution_; }
    // The cell height: round(size × dpi.y ÷ 72), ascent plus descent as GDI counts them.
    DevicePx CellHeight() const;
    // Baseline distance from the cell's top.
    double AscentPx() const;
    // Advance of one character drawn alone, rounded to whole pixels as GDI does.
    DevicePx Advance(char32_t c) const;
    // One em in pixels, and the step of one upright cell down a column: the
    // em, or the glyph's vertical advance when a face makes it longer.
    double EmPx() const;
    DevicePx CellAdvance(char32_t c) const;
    // The character's glyph for horizontal setting.
    quint32 Glyph(char32_t c) const;
    const QRawFont& Raw() const;
    // The same glyphs without a character map: what the text cells are drawn
    // with, so that a PDF takes its text only from the text layer. Falls back
    // to Raw() when the face's tables could not be rebuilt.
    const QRawFont& InkRaw() const;
    bool HasInkRaw() const;
    const TWriting& Writing() const { return writing_; }

    // Used by the drawing code.
    const FontInstance& Instance() const { return *instance_; }
    const FaceData& Data() const;

private:
    friend TPrintFont CreatePrintFont(const TPrintFace&, int, int, Dpi, Points);
    std::shared_ptr<FontInstance> instance_;
    TWriting writing_;
    Points size_;
    Dpi resolution_;
};

// CreatePrintFont: cell height round(size × dpi.y ÷ 72). `style` bit 0
// bold, 1 italic, 2 underline (the address printout always passes 0). The
// result is invalid when the face has no usable font file.
TPrintFont CreatePrintFont(const TPrintFace& face, int charset, int style, Dpi dpi, Points size);

// Measuring. A character is one code point (CP932 holds no pairs).
int CharCount(QStringView text);
// The length of a text along its line, or down its column for a font that
// sets vertical writing (Typeset.h).
DevicePx MeasureWidth(const TPrintFont& font, QStringView text);
// The cell height, the same for every text: the thickness of a line or column.
DevicePx TextHeight(const TPrintFont& font, QStringView text = u"あ");

// The message shown when a font cannot be created.
QString FontCreationFailedText();

}  // namespace q2

namespace q2 {

// How vertical writing draws one character: upright with the glyph HarfBuzz
// gives for top-to-bottom text (the font's `vert` form where it has one), or
// turned 90° clockwise like a rotated font draws it. Offsets in font units.
struct TVerticalGlyph {
    quint32 Glyph = 0;    // glyph drawn
    quint32 Nominal = 0;  // the character's horizontal glyph
    bool Rotated = false;
    double XOffset = 0, YOffset = 0, YAdvance = 0;  // HarfBuzz TTB positions (y up)
};
TVerticalGlyph VerticalGlyph(const TPrintFont& font, char32_t c);

// True when vertical writing turns `c` on its side: characters that are
// single-byte in CP932 always, and those of the small table of full-width
// characters that want rotation when the font offers no vertical form.
bool IsSidewaysInVertical(char32_t c, bool fontHasVerticalForm);

}  // namespace q2
