// The address side as a post office reads it, measured on PDFs (pdftotext
// -bbox, pdftoppm) and images: readable sizes, columns apart, the name
// centred, the barcode clear of the edges, calibration offsets and sheet.
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/UserInfoList.h"
#include "print/CalibrationSheet.h"
#include "print/PieceRenderer.h"
#include "tests/print/Ink.h"
#include "tests/print/SampleRecords.h"

using namespace q2;
using namespace q2::ink;

namespace {

QString U(const char16_t* s) { return QString::fromUtf16(s); }

QString RunProgram(const QString& program, const QStringList& args, int* exitCode = nullptr,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    if (exitCode) *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}

struct Word {
    QRectF box;  // mm
    QString text;
};

QList<Word> Words(const QString& pdf) {
    const QString html = RunProgram("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    const double k = 25.4 / 72;
    QList<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.append({QRectF(QPointF(m.captured(1).toDouble() * k, m.captured(2).toDouble() * k),
                           QPointF(m.captured(3).toDouble() * k, m.captured(4).toDouble() * k)),
                    m.captured(5)});
    }
    return out;
}

const QString kLongAddress =
    U(u"大阪府大阪市北区梅田三丁目１番３号大阪ステーションシティノースゲートビルディング２７階ＡＢＣ法律事務所内");

TUserInfo LongAddress() {
    return sample::Personal(u"高橋", u"誠", u"530", u"0001", kLongAddress.toStdU16String().c_str(), u"");
}

TPieceSetup CardSetup(int kind, bool vertical, bool sender, const TSenderInfoList* senders) {
    TPrintSettings st;
    st.PostcardIndex = kind;
    st.Vertical = vertical;
    st.Frames = DefaultFrames(kind, vertical);
    st.PrintSender = sender;
    return MakePieceSetup(st, std::nullopt, senders);
}

QString WritePdf(const QTemporaryDir& dir, const QString& name, const QList<const TUserInfo*>& records,
                 const TPieceSetup& setup) {
    const QString path = dir.filePath(name);
    QPdfWriter pdf(path);
    pdf.setResolution(600);
    pdf.setPageLayout(JobPageLayout(setup));
    QPainter p(&pdf);
    PrintPieces(p, pdf, records, setup, Dpi{600, 600});
    return path;
}

QImage Render(const TUserInfo& r, const TPieceSetup& setup, int dpi) {
    const Dpi d{dpi, dpi};
    QImage img = WhitePage(PieceSizePx(setup, d).width(), PieceSizePx(setup, d).height());
    QPainter p(&img);
    RenderPiece(p, r, setup, d, PrintSpacing(d), TRenderPurpose::Print, {false});
    return img;
}

}  // namespace

// The long office address stays at 10 pt or more on 年賀 in both directions,
// in two or three lines (columns); horizontal lines read back at that size.
TEST(AddressLayout, LongAddressReadableOnNenga) {
    const TUserInfo r = LongAddress();
    QTemporaryDir dir;
    for (bool vertical : {true, false}) {
        const TPieceSetup setup = CardSetup(3, vertical, false, nullptr);
        const TPieceFindings f = CheckPiece(r, setup);
        EXPECT_FALSE(f.Overflow()) << vertical;
        EXPECT_GE(f.AddressSize.v, 10) << vertical;
        EXPECT_GE(f.AddressLines, 2) << vertical;
        EXPECT_LE(f.AddressLines, 3) << vertical;
    }
    const TPieceSetup h = CardSetup(3, false, false, nullptr);
    const QList<Word> words = Words(WritePdf(dir, "h.pdf", {&r}, h));
    QString address;
    for (const Word& w : words)
        if (w.box.top() > 28 && w.box.top() < 56) {
            address += w.text;
            // A 10-point line is 3.5 mm high; the layer's box about that.
            EXPECT_GE(w.box.height(), 10 * 25.4 / 72 * 0.9) << w.text.toStdString();
        }
    QString expected = kLongAddress;
    expected.replace(U(u"ＡＢＣ"), QStringLiteral("ABC"));  // a Latin word reads as its letters
    EXPECT_EQ(address, expected);
    // A frame that cannot take it even in three lines: drawn at the floor, marked.
    TPieceSetup tight = h;
    tight.Settings.Frames.ADD.width = PreviewPx(120);
    const TPieceFindings f = CheckPiece(r, tight);
    EXPECT_TRUE(f.Overflow());
    EXPECT_EQ(f.AddressSize.v, 10);
}

// No two texts of a page overlap, and no two columns (lines) touch: a card
// with four joint names and the sender's family, both directions, 郵政 and 年賀.
TEST(AddressLayout, NoTwoTextsOverlapOrTouch) {
    TSenderInfoList senders;
    *senders.Add() = sample::PrivateSender();
    const TUserInfo family = sample::FamilyOfFive();
    QTemporaryDir dir;
    for (int kind : {1, 3})
        for (bool vertical : {true, false}) {
            const TPieceSetup setup = CardSetup(kind, vertical, true, &senders);
            const QList<Word> words = Words(WritePdf(dir, QStringLiteral("%1-%2.pdf").arg(kind).arg(vertical), {&family}, setup));
            ASSERT_GT(words.size(), 10);
            for (qsizetype i = 0; i < words.size(); ++i)
                for (qsizetype j = i + 1; j < words.size(); ++j) {
                    // Grown by 0.2 mm across the writing: touching columns meet.
                    const QMarginsF m = vertical ? QMarginsF(0.2, 0, 0.2, 0) : QMarginsF(0, 0.2, 0, 0.2);
                    const QRectF a = words[i].box.marginsAdded(m), b = words[j].box;
                    const QRectF common = a.intersected(b);
                    EXPECT_TRUE(common.width() < 0.05 || common.height() < 0.05)
                        << "kind " << kind << (vertical ? " vertical: " : " horizontal: ")
                        << words[i].text.toStdString() << " / " << words[j].text.toStdString();
                }
        }
}

// A single addressee column stands on the card's middle line (±2 mm).
TEST(AddressLayout, SingleNameCentredOnTheCard) {
    const TUserInfo r = sample::Midoricho();
    for (int kind : {1, 2, 3, 4}) {
        const TPieceSetup setup = CardSetup(kind, true, false, nullptr);
        const int dpi = 300;
        const QImage img = Render(r, setup, dpi);
        const DeviceRect nam = FrameToDevice(setup.Settings.Frames.NAM, setup.FrameScale(), Dpi{dpi, dpi});
        // Only the name is inside its frame's columns.
        const QRect ink = InkBox(img, QRect(nam.left.v, nam.top.v, nam.width.v, nam.height.v));
        ASSERT_FALSE(ink.isNull());
        EXPECT_NEAR(PxToMm(ink.center().x() + 0.5, dpi), 50, 2) << "kind " << kind;
    }
}

// Every kind's default frames keep the barcode 10 mm from every edge and
// 2 mm clear of everything else printed, at 8 to 10 points.
TEST(AddressLayout, BarcodeClearOfTheEdgesAndTheTexts) {
    TSenderInfoList senders;
    *senders.Add() = sample::PrivateSender();
    const TUserInfo r = sample::Midoricho();
    const int dpi = 200;
    for (int kind = kFirstPaperKind; kind <= kLastPaperKind; ++kind)
        for (bool vertical : {true, false}) {
            TPieceSetup setup = CardSetup(kind, vertical, true, &senders);
            const TPrintCostomerData bc = LayoutCustomerBarcode(
                Dpi{dpi, dpi}, FrameToDevice(setup.Settings.Frames.CUS, setup.FrameScale(), Dpi{dpi, dpi}),
                r.PersonalFullZip() + QStringLiteral("endpostcode"), BarcodeAddress(r.PerSonalAddress_1, {}),
                Points(kBarcodeStartPoints), DefaultBarcodeFunction());
            if (!bc.HasCode()) GTEST_SKIP() << "no barcode library";
            EXPECT_GE(bc.Size.v, 8);
            EXPECT_LE(bc.Size.v, 10);
            const TPaperGeometry g = setup.Geometry();
            const double left = PxToMm(bc.Left.v, dpi), top = PxToMm(bc.Top.v, dpi);
            const double right = left + PxToMm(MeasureBarcodeWidth(bc.Code, bc.Size, Dpi{dpi, dpi}).v, dpi);
            const double bottom = top + TBarGeometry::At(bc.Size).Unit.v * 6;
            const std::string what = "kind " + std::to_string(kind) + (vertical ? " vertical" : " horizontal");
            EXPECT_GE(left, 10 - 0.05) << what;
            EXPECT_GE(top, 10 - 0.05) << what;
            EXPECT_LE(right, g.UnitWidth.v - 10 + 0.05) << what;
            EXPECT_LE(bottom, g.UnitHeight.v - 10 + 0.05) << what;
            // Everything else, drawn without the barcode, stays 2 mm away.
            const QImage img = Render(r, setup, dpi);
            const double k = dpi / 25.4;
            const QRect around(QPoint(RoundInt((left - 2) * k), RoundInt((top - 2) * k)),
                               QPoint(RoundInt((right + 2) * k), RoundInt((bottom + 2) * k)));
            EXPECT_TRUE(InkBox(img, around).isNull()) << what;
        }
}

// q2tool print --offset moves every text of the page by exactly that; the
// calibration sheet outlines Japan Post's boxes where the manual puts them.
TEST(Calibration, OffsetMovesEveryGlyphAndTheSheetShowsTheBoxes) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(dir.filePath("data/Zabelle/Quintaro2"));
    TUserInfoList book;
    *book.Add() = sample::FamilyOfFive();
    const QString bookPath = dir.filePath("book.QT2");
    ASSERT_TRUE(book.SaveToFile(bookPath));
    int rc = -1;
    const QStringList common{"print", bookPath, "--horizontal", "--kind", "3"};
    RunProgram(Q2_TOOL_PATH, QStringList(common) << dir.filePath("a.pdf"), &rc, env);
    ASSERT_EQ(rc, 0);
    RunProgram(Q2_TOOL_PATH, QStringList(common) << dir.filePath("b.pdf") << "--offset" << "1.0,-0.5", &rc, env);
    ASSERT_EQ(rc, 0);
    const QList<Word> a = Words(dir.filePath("a.pdf")), b = Words(dir.filePath("b.pdf"));
    ASSERT_EQ(a.size(), b.size());
    ASSERT_GT(a.size(), 10);
    for (qsizetype i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].text, b[i].text);
        EXPECT_NEAR(b[i].box.left() - a[i].box.left(), 1.0, 0.01) << a[i].text.toStdString();
        EXPECT_NEAR(b[i].box.top() - a[i].box.top(), -0.5, 0.01) << a[i].text.toStdString();
    }
    for (const char* bad : {"6,0", "1.05,0", "x,1", "1"}) {
        RunProgram(Q2_TOOL_PATH, QStringList(common) << dir.filePath("c.pdf") << "--offset" << bad, &rc, env);
        EXPECT_EQ(rc, 2) << bad;
    }

    // The sheets of 年賀 and 長形3号 at 10 pixels per millimetre.
    for (int kind : {3, 6}) {
        const QString pdf = dir.filePath(QStringLiteral("cal%1.pdf").arg(kind));
        RunProgram(Q2_TOOL_PATH, {"calibration", pdf, "--kind", QString::number(kind)}, &rc, env);
        ASSERT_EQ(rc, 0);
        RunProgram("pdftoppm", {"-r", "254", "-gray", "-png", "-singlefile", pdf, dir.filePath("cal")});
        const QImage img = QImage(dir.filePath("cal.png")).convertToFormat(QImage::Format_RGB32);
        const TPaperGeometry g = GeometryForKind(kind);
        ASSERT_NEAR(img.width(), g.UnitWidth.v * 10, 3);
        // Each outline is ink within 0.2 mm of the edge the manual gives, the
        // inside of the box is clear apart from the crosshair.
        auto dark = [&](double xMm, double yMm) {
            return !InkBox(img, QRect(RoundInt(xMm * 10) - 2, RoundInt(yMm * 10) - 2, 5, 5)).isNull();
        };
        for (const TMmRect& box : JapanPostBoxes(g.UnitWidth)) {
            const MmPoint c = box.Centre();
            const double l = box.left.v, t = box.top.v, r = l + box.width.v, bt = t + box.height.v;
            EXPECT_TRUE(dark(l, c.y.v + 2) && dark(r, c.y.v + 2) && dark(c.x.v + 2, t) && dark(c.x.v + 2, bt))
                << "kind " << kind << " box at " << l;
            EXPECT_TRUE(dark(c.x.v, c.y.v));                         // the crosshair
            EXPECT_FALSE(dark(l + 0.6, c.y.v + 2.5)) << l;           // inside
            EXPECT_FALSE(dark(l - 0.6, c.y.v + 2.5)) << l;           // outside
        }
        // The rulers: a 10 mm tick at the top 30 mm from the left, and on
        // the right edge 30 mm down.
        EXPECT_TRUE(dark(30, 4));
        EXPECT_TRUE(dark(g.UnitWidth.v - 4, 30));
    }
}
