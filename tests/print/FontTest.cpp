// Fonts: face resolution, GDI cell semantics, vertical forms and cells.
#include <QPainter>
#include <gtest/gtest.h>
#include <hb.h>

#include "print/PrintFont.h"
#include "print/PrintText.h"
#include "tests/print/Ink.h"

using namespace q2;
using namespace q2::ink;

namespace {
QString U(const char16_t* s) { return QString::fromUtf16(s); }
}  // namespace

TEST(ResolvePrintFace, MsNamesFallToTheIpaStandIns) {
    EXPECT_EQ(ResolvePrintFace(U(u"ＭＳ Ｐゴシック")).Family, QStringLiteral("IPAPGothic"));
    const TPrintFace v = ResolvePrintFace(U(u"@ＭＳ Ｐゴシック"));
    EXPECT_TRUE(v.Vertical);
    EXPECT_EQ(v.Family, QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ResolvePrintFace(QStringLiteral("@IPAexMincho")).Family, QStringLiteral("IPAexMincho"));
    EXPECT_EQ(ResolvePrintFace(QStringLiteral("No Such Face")).Family, QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ResolvePrintFace(QStringLiteral("DejaVu Sans")).Family, QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ResolveBoxFace().Family, QStringLiteral("IPAGothic"));
}

TEST(ListJapaneseFaces, EveryFaceTwiceOnceWithAt) {
    const QStringList faces = ListJapaneseFaces();
    EXPECT_TRUE(faces.contains(QStringLiteral("IPAPGothic")));
    EXPECT_TRUE(faces.contains(QStringLiteral("@IPAPGothic")));
    EXPECT_TRUE(faces.contains(QStringLiteral("@IPAexMincho")));
    EXPECT_FALSE(faces.contains(QStringLiteral("DejaVu Sans")));
    int at = 0;
    for (const QString& f : faces) at += f.startsWith('@');
    EXPECT_EQ(at * 2, faces.size());
}

TEST(CreatePrintFont, HeightIsTheCellNotTheEm) {
    const TPrintFont f = CreatePrintFont(ResolvePrintFace(QStringLiteral("IPAGothic")), kShiftJisCharset, 0, Dpi{600, 600}, Points(15));
    ASSERT_TRUE(f.IsValid());
    EXPECT_EQ(TextHeight(f).v, RoundInt(15 * 600 / 72.0));  // 125
    EXPECT_LE(f.Raw().pixelSize(), 125.0);
    // MeasureWidth is the sum of single characters' advances.
    EXPECT_EQ(MeasureWidth(f, U(u"あい1")).v, (f.Advance(U'あ') + f.Advance(U'い') + f.Advance(U'1')).v);
    EXPECT_EQ(CharCount(U(u"東京都ｶ1")), 5);
}

// The glyph HarfBuzz gives for top-to-bottom text, shaped from the font file.
quint32 HarfBuzzVerticalGlyph(const char* file, char32_t c) {
    hb_blob_t* blob = hb_blob_create_from_file(file);
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_buffer_t* buf = hb_buffer_create();
    const uint32_t cp = c;
    hb_buffer_add_utf32(buf, &cp, 1, 0, 1);
    hb_buffer_guess_segment_properties(buf);
    hb_buffer_set_direction(buf, HB_DIRECTION_TTB);
    hb_shape(font, buf, nullptr, 0);
    unsigned n = 0;
    const quint32 g = hb_buffer_get_glyph_infos(buf, &n)[0].codepoint;
    hb_buffer_destroy(buf);
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return g;
}

TEST(VerticalGlyph, UsesTheFontsVerticalForms) {
    const TPrintFont f = CreatePrintFont(ResolvePrintFace(QStringLiteral("@IPAPGothic")), kShiftJisCharset, 0, Dpi{600, 600}, Points(20));
    for (char32_t c : U(u"ー「」（）―、。ぁッ").toUcs4()) {
        const TVerticalGlyph g = VerticalGlyph(f, c);
        EXPECT_NE(g.Glyph, g.Nominal) << quint32(c);
        EXPECT_FALSE(g.Rotated) << quint32(c);
        EXPECT_EQ(g.Glyph, HarfBuzzVerticalGlyph("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", c)) << quint32(c);
    }
    // No vertical form: the full-width hyphen-minus is turned; so are half-width characters.
    const TPrintFont gothic = CreatePrintFont(ResolvePrintFace(QStringLiteral("@IPAGothic")), kShiftJisCharset, 0, Dpi{600, 600}, Points(20));
    const TVerticalGlyph minus = VerticalGlyph(gothic, U'－');
    EXPECT_EQ(minus.Glyph, minus.Nominal);
    EXPECT_TRUE(minus.Rotated);
    EXPECT_TRUE(VerticalGlyph(f, U'A').Rotated);
    EXPECT_TRUE(VerticalGlyph(f, U'ｶ').Rotated);
    EXPECT_FALSE(VerticalGlyph(f, U'東').Rotated);
}

TEST(VerticalText, CharacterCellsLandInTheColumn) {
    const TPrintFace face = ResolvePrintFace(QStringLiteral("@IPAPGothic"));
    const TPrintFont f = CreatePrintFont(face, kShiftJisCharset, 0, Dpi{600, 600}, Points(40));
    const int ch = TextHeight(f).v;
    for (char32_t c : U(u"あ東ーA「。").toUcs4()) {
        QImage img = WhitePage(1200, 1200);
        {
            QPainter p(&img);
            DrawCharCell(p, f, c, {DevicePx(300), DevicePx(400)}, true);
        }
        const QRect ink = InkBox(img);
        ASSERT_FALSE(ink.isNull()) << quint32(c);
        // Column from left to left + TextHeight, rows y to y + width(c).
        EXPECT_GE(ink.left(), 300 - 2) << quint32(c);
        EXPECT_LE(ink.right(), 300 + ch + 2) << quint32(c);
        EXPECT_GE(ink.top(), 400 - 2) << quint32(c);
        EXPECT_LE(ink.bottom(), 400 + f.Advance(c).v + 2) << quint32(c);
    }
}

TEST(VerticalText, ProlongedSoundMarkIsAVerticalStroke) {
    const TPrintFace face = ResolvePrintFace(QStringLiteral("@IPAGothic"));
    const TPrintFont f = CreatePrintFont(face, kShiftJisCharset, 0, Dpi{600, 600}, Points(40));
    QImage img = WhitePage(800, 800);
    {
        QPainter p(&img);
        DrawCharCell(p, f, U'ー', {DevicePx(100), DevicePx(100)}, true);
        DrawCharCell(p, f, U'A', {DevicePx(500), DevicePx(100)}, true);
    }
    const QRect bar = InkBox(img, QRect(0, 0, 400, 800));
    EXPECT_GT(bar.height(), 3 * bar.width());
    // "A" turned clockwise: its height lies across the column, its apex
    // points right, so the ink is longer along the column at the left.
    const QRect a = InkBox(img, QRect(400, 0, 400, 800));
    EXPECT_GT(a.width(), a.height());
    const int mid = a.left() + a.width() / 4, apex = a.right() - a.width() / 8;
    int left = 0, right = 0;
    for (int y = a.top(); y <= a.bottom(); ++y) {
        left += Dark(img, mid, y);
        right += Dark(img, apex, y);
    }
    EXPECT_GT(left, right);
}

TEST(HorizontalText, CellTopLeftIsThePosition) {
    const TPrintFace face = ResolvePrintFace(QStringLiteral("IPAGothic"));
    QImage img = WhitePage(1200, 400);
    {
        QPainter p(&img);
        DrawPlainText(p, Dpi{600, 600}, {DevicePx(100), DevicePx(100)}, false, Points(20), face, U(u"東京"));
    }
    const TPrintFont f = CreatePrintFont(face, kShiftJisCharset, 0, Dpi{600, 600}, Points(20));
    const QRect ink = InkBox(img);
    EXPECT_GE(ink.left(), 100);
    EXPECT_GE(ink.top(), 100);
    EXPECT_LE(ink.bottom(), 100 + TextHeight(f).v);
    EXPECT_LE(ink.right(), 100 + MeasureWidth(f, U(u"東京")).v);
}
