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

// A character the print face lacks is drawn from IPAmj明朝 at the same size,
// in both directions, and not as the face's empty box.
TEST(RareGlyphs, DrawnFromTheRareGlyphFace) {
    ASSERT_FALSE(RareGlyphFamily().isEmpty()) << "IPAmj明朝 is not installed";
    const Dpi dpi{600, 600};
    const TPrintFace mj = ResolvePrintFace(RareGlyphFamily());
    struct Case {
        const char* face;
        char32_t c;
        bool vertical;
    } cases[] = {{"BIZ UDPMincho", U'𠮷', true},
                 {"BIZ UDPMincho", U'𠮷', false},
                 {"IPAPGothic", U'𠮷', true},
                 {"IPAexMincho", U'𠮷', false}};
    for (const Case& k : cases) {
        TPrintFace face = ResolvePrintFace(QString::fromLatin1(k.face));
        face.Writing = {true, k.vertical, {}, {}};
        const TPrintFont f = CreatePrintFont(face, kShiftJisCharset, 0, dpi, Points(30));
        ASSERT_FALSE(f.HasGlyph(k.c)) << k.face;
        TPrintFace mjFace = mj;
        mjFace.Writing = face.Writing;
        const TPrintFont m = CreatePrintFont(mjFace, kShiftJisCharset, 0, dpi, Points(30));
        ASSERT_TRUE(m.HasGlyph(k.c));
        QImage drawn = WhitePage(600, 600), expected = WhitePage(600, 600);
        {
            QPainter p(&drawn), q(&expected);
            DrawCharCell(p, f, k.c, {DevicePx(100), DevicePx(100)}, k.vertical);
            DrawCharCell(q, m, k.c, {DevicePx(100), DevicePx(100)}, k.vertical);
        }
        const QRect a = InkBox(drawn), b = InkBox(expected);
        ASSERT_FALSE(a.isEmpty()) << k.face;
        // The same glyph: the same ink box within a pixel or two of rounding,
        // and far more strokes than a box's outline leaves.
        EXPECT_NEAR(a.width(), b.width(), 3) << k.face;
        EXPECT_NEAR(a.height(), b.height(), 3) << k.face;
        EXPECT_NEAR(a.center().x(), b.center().x(), 3) << k.face;
        int dark = 0, boxRow = 0;
        for (int y = a.top(); y <= a.bottom(); ++y)
            for (int x = a.left(); x <= a.right(); ++x) dark += Dark(drawn, x, y);
        for (int x = a.left(); x <= a.right(); ++x) boxRow += Dark(drawn, x, a.center().y());
        EXPECT_GT(dark, 0.15 * a.width() * a.height()) << k.face;
        EXPECT_LT(boxRow, 0.8 * a.width()) << k.face;
    }
}

TEST(FaceStyles, FacesGroupByStyleAndGreetingCardsDefaultToMincho) {
    const struct {
        const char* family;
        TFaceStyle style;
    } table[] = {{"BIZ UDPMincho", TFaceStyle::Mincho},  {"@IPAexMincho", TFaceStyle::Mincho},
                 {"IPAmjMincho", TFaceStyle::Mincho},    {"BIZ UDGothic", TFaceStyle::Gothic},
                 {"@IPAPGothic", TFaceStyle::Gothic},    {"Klee One", TFaceStyle::Brush},
                 {"KouzanBrushFont", TFaceStyle::Brush}, {"DejaVu Sans Mono", TFaceStyle::Gothic},
                 {"Unifont", TFaceStyle::Other}};
    for (const auto& t : table)
        EXPECT_EQ(FaceStyleOf(QString::fromLatin1(t.family)), t.style) << t.family;
    EXPECT_EQ(FaceStyleOf(U(u"衡山毛筆フォント")), TFaceStyle::Brush);

    // The stock default prints 年賀 and 暑中 in the Mincho, other kinds and
    // labels as before; a face the user picked stays.
    ASSERT_EQ(GreetingCardFamily(), QStringLiteral("BIZ UDPMincho"));
    const QString stock = U(u"@ＭＳ Ｐゴシック");
    EXPECT_EQ(ResolvePieceFace(stock, 3, false).Family, QStringLiteral("BIZ UDPMincho"));
    EXPECT_TRUE(ResolvePieceFace(stock, 4, false).Vertical);
    EXPECT_EQ(ResolvePieceFace(stock, 4, false).Requested, stock);
    EXPECT_EQ(ResolvePieceFace(U(u"ＭＳ Ｐゴシック"), 4, false).Family,
              QStringLiteral("BIZ UDPMincho"));
    EXPECT_EQ(ResolvePieceFace(stock, 1, false).Family, QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ResolvePieceFace(stock, 3, true).Family, QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ResolvePieceFace(QStringLiteral("@IPAPGothic"), 3, false).Family,
              QStringLiteral("IPAPGothic"));
    EXPECT_EQ(ResolvePieceFace(QStringLiteral("BIZ UDGothic"), 3, false).Family,
              QStringLiteral("BIZ UDGothic"));
}
