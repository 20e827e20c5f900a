// Typesetting read from ink: one cell per character down a column, Latin
// words turned sideways, digits side by side, numerals apart, and the PDF's
// text layer read back with pdftotext.
#include <QFontDatabase>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "print/PieceRenderer.h"
#include "print/PrintText.h"
#include "print/TextNormalize.h"
#include "print/Typeset.h"
#include "tests/print/Ink.h"
#include "tests/print/SampleRecords.h"

using namespace q2;
using namespace q2::ink;

namespace {

constexpr Dpi kDpi{600, 600};
constexpr int kMargin = 10;
QString U(const char16_t* s) { return QString::fromUtf16(s); }

TWriting Columns(TLatinInVertical latin = TLatinInVertical::Sideways,
                 TVerticalNumerals numerals = TVerticalNumerals::Kanji) {
    return {true, true, latin, numerals};
}

TPrintFace Face(const QString& family, TWriting w) {
    TPrintFace f = ResolvePrintFace(family);
    f.Writing = w;
    return f;
}

// The text drawn at 20 pt with its line or column starting at (10, 10).
QImage Draw(const TPrintFace& face, const QString& text, DevicePx pitch = DevicePx(0)) {
    const TPrintFont f = MakeTextFont(face, kDpi, Points(20));
    const int length = MeasureWidth(f, text).v + CharCount(text) * pitch.v + 2 * kMargin;
    const int thick = TextHeight(f).v + 2 * kMargin;
    const bool vertical = face.Writing.Vertical;
    QImage img = WhitePage(vertical ? thick : length, vertical ? length : thick);
    QPainter p(&img);
    DrawSpacedText(p, kDpi, text, pitch, {DevicePx(kMargin), DevicePx(kMargin)}, vertical, Points(20), face);
    return img;
}

bool InkInRow(const QImage& img, int y) {
    for (int x = 0; x < img.width(); ++x)
        if (Dark(img, x, y)) return true;
    return false;
}
bool InkInColumn(const QImage& img, int x) {
    for (int y = 0; y < img.height(); ++y)
        if (Dark(img, x, y)) return true;
    return false;
}

// Runs of inked rows (vertical) or columns (horizontal): the pieces of ink
// that blank lines across the text separate.
QList<QRect> Pieces(const QImage& img, bool alongY) {
    QList<QRect> out;
    const int n = alongY ? img.height() : img.width();
    int start = -1;
    for (int i = 0; i <= n; ++i) {
        const bool ink = i < n && (alongY ? InkInRow(img, i) : InkInColumn(img, i));
        if (ink && start < 0) start = i;
        if (!ink && start >= 0) {
            out << InkBox(img, alongY ? QRect(0, start, img.width(), i - start)
                                      : QRect(start, 0, i - start, img.height()));
            start = -1;
        }
    }
    return out;
}

}  // namespace

TEST(VerticalCells, ProportionalFaceGivesOneSeparateShapePerCell) {
    const TPrintFace face = Face(QStringLiteral("IPAPGothic"), Columns(TLatinInVertical::Upright));
    const TPrintFont f = MakeTextFont(face, kDpi, Points(20));
    const int cell = RoundInt(f.EmPx());
    for (const char16_t* t : {u"ＭＩＮＡＴＯ", u"カタカナ", u"東京", u"ＪＰ東京"}) {
        const QString text = U(t);
        EXPECT_EQ(MeasureWidth(f, text).v, CharCount(text) * cell) << text.toStdString();
        const QImage img = Draw(face, text);
        for (int i = 0; i < CharCount(text); ++i) {
            const QRect ink = InkBox(img, QRect(0, kMargin + i * cell, img.width(), cell));
            ASSERT_FALSE(ink.isNull()) << text.toStdString() << " cell " << i;
            // Nothing of the glyph reaches into the next cell or the one before.
            EXPECT_FALSE(InkInRow(img, kMargin + i * cell)) << text.toStdString() << " boundary " << i;
            EXPECT_NEAR(ink.center().y(), kMargin + i * cell + cell / 2.0, cell * 0.2) << text.toStdString() << i;
            EXPECT_NEAR(ink.center().x(), kMargin + TextHeight(f).v / 2.0, cell * 0.1) << text.toStdString() << i;
        }
    }
}

TEST(VerticalCells, NoTwoGlyphsOfAColumnOverlapInAnyJapaneseFace) {
    const QString text = U(u"ＭＩＮＡＴＯカタカナ「東京」ー、。ッｆ１２");
    int faces = 0;
    for (const QString& family : ListJapaneseFaces()) {
        if (family.startsWith(QLatin1Char('@'))) continue;
        const TPrintFace face = Face(family, Columns(TLatinInVertical::Upright));
        const TPrintFont f = MakeTextFont(face, kDpi, Points(20));
        const std::vector<TSetUnit> units = SetUnits(f, text.toUcs4(), true);
        const QImage img = Draw(face, text);
        int y = kMargin;
        for (const TSetUnit& u : units) {
            EXPECT_FALSE(InkInRow(img, y)) << family.toStdString() << " before unit " << u.Begin;
            y += (u.Advance + u.Gap).v;
        }
        ++faces;
    }
    EXPECT_GE(faces, 6);
}

TEST(HalfWidthKatakana, PrintsAsFullWidthKatakanaInBothDirections) {
    EXPECT_EQ(NormalizePrintText(U(u"ｸﾞﾗﾝﾃﾞ")), U(u"グランデ"));
    for (bool vertical : {true, false}) {
        const TPrintFace face = Face(QStringLiteral("IPAPGothic"), {true, vertical});
        EXPECT_TRUE(Draw(face, NormalizePrintText(U(u"ｸﾞﾗﾝﾃﾞ"))) == Draw(face, U(u"グランデ"))) << vertical;
    }
}

TEST(LatinWords, SidewaysInAColumnLetterByLetterWiderThanTall) {
    const QString text = NormalizePrintText(QStringLiteral("LIFE"));
    const TPrintFace sideways = Face(QStringLiteral("IPAPGothic"), Columns());
    const QList<QRect> letters = Pieces(Draw(sideways, text), true);
    ASSERT_EQ(letters.size(), 4);
    for (const QRect& r : letters) EXPECT_GT(r.width(), r.height()) << r.top();
    // The word takes the length of its letters, not four cells.
    const TPrintFont f = MakeTextFont(sideways, kDpi, Points(20));
    EXPECT_LT(MeasureWidth(f, text).v, 3 * RoundInt(f.EmPx()));

    // "1文字ずつ正立": four upright cells; single letters stay upright either way.
    const TPrintFace upright = Face(QStringLiteral("IPAPGothic"), Columns(TLatinInVertical::Upright));
    EXPECT_EQ(MeasureWidth(MakeTextFont(upright, kDpi, Points(20)), text).v, 4 * RoundInt(f.EmPx()));
    const QList<QRect> single = Pieces(Draw(sideways, U(u"Ａ棟")), true);
    ASSERT_GE(single.size(), 2);
    EXPECT_GT(single[0].height(), single[0].width() * 0.8);
}

TEST(LatinWords, HorizontalNameSpreadsBetweenWordsOnly) {
    const TPrintFace face = Face(QStringLiteral("IPAPGothic"), {true, false});
    const TPrintFont f = MakeTextFont(face, kDpi, Points(20));
    const DevicePx pitch(RoundInt(f.EmPx()));
    const QString text = NormalizePrintText(QStringLiteral("Brown Emily"));
    EXPECT_EQ(PitchSlots(f, text), 3);  // two words and the blank between them
    const QList<QRect> pieces = Pieces(Draw(face, text, pitch), false);
    ASSERT_GE(pieces.size(), 2);
    int wide = 0;
    for (qsizetype i = 1; i < pieces.size(); ++i) {
        const int gap = pieces[i].left() - pieces[i - 1].right();
        if (gap >= pitch.v) ++wide;
        else EXPECT_LT(gap, pitch.v / 4) << "letters " << i;
    }
    EXPECT_EQ(wide, 1);  // only between Brown and Emily
}

TEST(Numerals, TwoDigitsShareOneUprightCell) {
    const TPrintFace face = Face(QStringLiteral("IPAPGothic"), Columns({}, TVerticalNumerals::Arabic));
    const TPrintFont f = MakeTextFont(face, kDpi, Points(20));
    const int cell = RoundInt(f.EmPx());
    EXPECT_EQ(MeasureWidth(f, U(u"２１")).v, cell);
    EXPECT_EQ(MeasureWidth(f, U(u"２")).v, cell);
    EXPECT_EQ(MeasureWidth(f, U(u"１２３")).v, 3 * cell);  // longer numbers digit by digit
    const QImage img = Draw(face, U(u"２１"));
    const QList<QRect> pieces = Pieces(img, false);  // side by side across the column
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_NEAR(pieces[0].center().y(), pieces[1].center().y(), 2);
    EXPECT_LE(InkBox(img).height(), cell);
    EXPECT_GE(pieces[0].left(), kMargin);
    EXPECT_LE(pieces[1].right(), kMargin + TextHeight(f).v);
}

// 二｜二一｜一 must not read as 二｜三｜一: two numerals stand further apart
// than the strokes inside 二 and 三, in every face and under every option.
TEST(Numerals, NeighbouringKanjiNumeralsStandApartFromEachOther) {
    for (const QString& family : {QStringLiteral("IPAPGothic"), QStringLiteral("IPAMincho"), QStringLiteral("IPAexGothic")}) {
        const TPrintFace face = Face(family, Columns());
        auto strokeGaps = [&](const char16_t* t) {
            const QList<QRect> s = Pieces(Draw(face, U(t)), true);
            QList<int> gaps;
            for (qsizetype i = 1; i < s.size(); ++i) gaps << s[i].top() - s[i - 1].bottom();
            return gaps;
        };
        int inner = 0;
        for (int g : strokeGaps(u"二") + strokeGaps(u"三")) inner = std::max(inner, g);
        ASSERT_GT(inner, 0);
        for (auto n : {TVerticalNumerals::Kanji, TVerticalNumerals::KanjiPositional}) {
            const QString column = ToVerticalNumerals(NormalizePrintText(QStringLiteral("2-21-1")), n);
            const QString pair = column.mid(2, column.indexOf(QChar(0x2015), 2) - 2);  // 二一 or 二十一
            const QList<QRect> s = Pieces(Draw(face, pair), true);
            ASSERT_GE(s.size(), 3);
            // 二 is the first two pieces; the next piece belongs to the next numeral.
            const int between = s[2].top() - s[1].bottom();
            EXPECT_GE(between, inner * 1.5) << family.toStdString() << " " << pair.toStdString();
        }
    }
    // Only numerals that could merge stand apart: 二七階 ("27階") keeps the
    // usual pitch, where a gap would read as a blank inside the number.
    const TPrintFont f = MakeTextFont(Face(QStringLiteral("IPAPGothic"), Columns()), kDpi, Points(20));
    const int em = RoundInt(f.EmPx());
    EXPECT_EQ(MeasureWidth(f, U(u"二七階")).v, 3 * em);
    EXPECT_EQ(MeasureWidth(f, U(u"一〇")).v, 2 * em);
    EXPECT_GT(MeasureWidth(f, U(u"十一")).v, 2 * em);  // 土
}

namespace {

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Without blanks; the em dash and the horizontal bar share one glyph in the
// IPA faces, so a PDF reader may give back either.
QString Squeezed(QString s) {
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    s.replace(QChar(0x2014), QChar(0x2015));
    return s;
}

// One card into a PDF, read back with pdftotext.
QString CardText(const TUserInfo& record, bool vertical, const TSenderInfoList* senders = nullptr) {
    QTemporaryDir dir;
    const QString path = dir.filePath("card.pdf");
    TPrintSettings st;
    st.Vertical = vertical;
    st.Frames = DefaultFrames(3, vertical);
    st.PrintSender = senders != nullptr;
    const TPieceSetup setup = MakePieceSetup(st, std::nullopt, senders);
    {
        QPdfWriter pdf(path);
        pdf.setResolution(600);
        pdf.setPageLayout(JobPageLayout(setup));
        QPainter p(&pdf);
        PrintPieces(p, pdf, {&record}, setup, Dpi{600, 600});
    }
    return Run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
}

}  // namespace

TEST(PdfTextLayer, VerticalCardReadsBackInReadingOrder) {
    TSenderInfoList senders;
    *senders.Add() = sample::PrivateSender();
    const QString text = Squeezed(CardText(sample::KyotoLong(), true, &senders));
    EXPECT_TRUE(text.contains(U(u"京都府京都市中京区河原町通三条上る下丸屋町四〇三―一二"))) << text.toStdString();
    EXPECT_TRUE(text.contains(U(u"KYOTORIVERFLAT"))) << text.toStdString();
    EXPECT_TRUE(text.contains(U(u"西園寺公子"))) << text.toStdString();
    EXPECT_TRUE(text.contains(U(u"様")));
    EXPECT_TRUE(text.contains(U(u"東京都渋谷区渋谷二―二一―一"))) << text.toStdString();
    EXPECT_TRUE(text.contains(U(u"ヒカリエ三〇三")));
    EXPECT_TRUE(text.contains(U(u"０３―１２３４―５６７８"))) << text.toStdString();
}

TEST(PdfTextLayer, HorizontalCardCarriesTheFullWidthHyphen) {
    const QString text = Squeezed(CardText(sample::FamilyOfFive(), false));
    EXPECT_TRUE(text.contains(U(u"東京都港区芝公園４－２－８"))) << text.toStdString();
    EXPECT_TRUE(text.contains(U(u"グランデ芝公園"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QChar(0x2015))) << text.toStdString();
}
