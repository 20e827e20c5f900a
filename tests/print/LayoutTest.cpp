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

namespace {
// The widest text-layer column (line) inside a frame: the size of its font.
double LargestCellMm(const QList<Word>& words, const QRectF& frameMm, bool vertical) {
    double best = 0;
    for (const Word& w : words)
        if (frameMm.contains(w.box.center()))
            best = std::max(best, vertical ? w.box.width() : w.box.height());
    return best;
}
QRectF FrameMm(const PreviewRect& r, PreviewScale s) {
    return QRectF(PreviewToMm(r.left, s).v, PreviewToMm(r.top, s).v, PreviewToMm(r.width, s).v,
                  PreviewToMm(r.height, s).v);
}
}  // namespace

// The name reads first: at least 1.4 × the address with none or one joint
// name; with four joint names the five columns fill the frame and the name
// stays as large as the address (the address does not go under its floor).
TEST(NameProportions, NameLargerThanTheAddress) {
    TUserInfo one = sample::Midoricho();
    sample::Joint(one, 0, u"山田 花子");
    const struct {
        const char* what;
        TUserInfo record;
        double ratio;
    } cases[] = {
        {"short name",
         sample::Personal(u"林", u"誠", u"100", u"0013", u"東京都千代田区霞が関1-1", u""), 1.4},
        {"kyoto", sample::KyotoLong(), 1.4},
        {"one joint name", one, 1.4},
        {"four joint names", sample::FamilyOfFive(), 1.0}};
    QTemporaryDir dir;
    for (const auto& c : cases)
        for (bool vertical : {true, false}) {
            const TPieceSetup setup = CardSetup(3, vertical, false, nullptr);
            const QList<Word> words =
                Words(WritePdf(dir, QStringLiteral("p.pdf"), {&c.record}, setup));
            const PreviewScale s = setup.FrameScale();
            const double name =
                LargestCellMm(words, FrameMm(setup.Settings.Frames.NAM, s), vertical);
            const double address =
                LargestCellMm(words, FrameMm(setup.Settings.Frames.ADD, s), vertical);
            ASSERT_GT(address, 0) << c.what;
            EXPECT_GE(name / address, c.ratio - 0.02)
                << c.what << (vertical ? " vertical" : " horizontal");
        }
}

// A short name keeps together from the frame's head (gaps no larger than
// half a character); honorifics end on one foot line set by the longest
// entry, well above the frame's foot when the names are short.
TEST(NameProportions, ShortNameTogetherAndHonorificsOnOneFoot) {
    const int dpi = 300;
    const TPieceSetup setup = CardSetup(3, true, false, nullptr);
    const DeviceRect nam =
        FrameToDevice(setup.Settings.Frames.NAM, setup.FrameScale(), Dpi{dpi, dpi});
    const QRect frame(nam.left.v, nam.top.v, nam.width.v, nam.height.v);
    auto render = [&](const TUserInfo& r) {
        const Dpi d{dpi, dpi};
        QImage img = WhitePage(PieceSizePx(setup, d).width(), PieceSizePx(setup, d).height());
        QPainter p(&img);
        RenderPiece(p, r, setup, d, PrintSpacing(d), TRenderPurpose::Print, {true, InkName});
        return img;
    };
    // Runs of inked rows down one column: one per character here.
    auto runs = [](const QImage& img, QRect column) {
        QList<QPair<int, int>> out;
        int start = -1;
        for (int y = column.top(); y <= column.bottom() + 1; ++y) {
            bool dark = false;
            for (int x = column.left(); x <= column.right() && !dark && y <= column.bottom(); ++x)
                dark = Dark(img, x, y);
            if (dark && start < 0) start = y;
            if (!dark && start >= 0) out.append({start, y - 1}), start = -1;
        }
        return out;
    };
    const QImage shortName =
        render(sample::Personal(u"林", u"誠", u"100", u"0013", u"東京都千代田区霞が関1-1", u""));
    const QRect ink = InkBox(shortName, frame);
    const QList<QPair<int, int>> chars = runs(shortName, ink);
    ASSERT_EQ(chars.size(), 3);  // 林 誠 様
    const int cell = ink.width();
    for (int i = 1; i < 3; ++i)
        EXPECT_LE(chars[i].first - chars[i - 1].second, cell * 0.5 + cell * 0.25) << i;
    EXPECT_LT(ink.top() - frame.top(), frame.height() * 0.1);
    EXPECT_GT(PxToMm(frame.bottom() - ink.bottom(), dpi), 20);

    // 様, くん, ちゃん end within half a millimetre of one another.
    const QImage family = render(sample::FamilyOfFive());
    const QRect all = InkBox(family, frame);
    QList<int> feet;
    for (int x = all.left(); x <= all.right();) {
        int x1 = x;
        auto inked = [&](int cx) {
            return !InkBox(family, QRect(cx, all.top(), 1, all.height())).isNull();
        };
        if (!inked(x)) {
            ++x;
            continue;
        }
        while (x1 <= all.right() && inked(x1)) ++x1;
        feet.append(InkBox(family, QRect(x, all.top(), x1 - x, all.height())).bottom());
        x = x1;
    }
    ASSERT_EQ(feet.size(), 5);
    for (int f : feet) EXPECT_NEAR(PxToMm(f - feet[0], dpi), 0, 0.5);
    EXPECT_GT(PxToMm(frame.bottom() - feet[0], dpi), 10);
}

// Long addresses on postcards break at a reader's boundaries before they go
// under 12 points: after the street direction of a Kyoto address, before the
// building, read back from the PDF at 12 points or more. (Across the card the
// three lines of the 三条 address need 11 points: its Latin building line alone
// is wider than the frame at 12.)
TEST(AddressLayout, KyotoAddressesBreakBeforeTheyShrink) {
    const struct {
        const char* what;
        TUserInfo record;
        const char16_t* firstLineEnd;
        bool horizontalToo;
    } cases[] = {
        {"押小路",
         sample::Personal(u"林", u"誠", u"604", u"0052",
                          u"京都府京都市中京区西洞院通押小路下ル押西洞院町５９０－１",
                          u"押小路ハイツ２０１号室"),
         u"下ル", true},
        {"三条", sample::KyotoLong(), u"上る", false},
    };
    QTemporaryDir dir;
    for (const auto& c : cases)
        for (int kind : {1, 3})
            for (bool vertical : {true, false}) {
                if (!vertical && !c.horizontalToo) continue;
                const std::string label = std::string(c.what) + " kind " + std::to_string(kind) +
                                          (vertical ? " vertical" : " horizontal");
                const TPieceSetup setup = CardSetup(kind, vertical, false, nullptr);
                const TPieceFindings f = CheckPiece(c.record, setup);
                EXPECT_FALSE(f.Overflow()) << label;
                EXPECT_GE(f.AddressSize.v, 12) << label;
                EXPECT_GE(f.AddressLines, 2) << label;
                EXPECT_LE(f.AddressLines, 3) << label;
                const QList<Word> words =
                    Words(WritePdf(dir, QStringLiteral("k.pdf"), {&c.record}, setup));
                const QRectF add = FrameMm(setup.Settings.Frames.ADD, setup.FrameScale());
                QStringList lines;
                for (const Word& w : words)
                    if (add.contains(w.box.center())) {
                        lines << w.text;
                        EXPECT_GE(vertical ? w.box.width() : w.box.height(), 12 * 25.4 / 72 * 0.9)
                            << label;
                    }
                ASSERT_GE(lines.size(), 2) << label;
                EXPECT_TRUE(lines[0].endsWith(QString::fromUtf16(c.firstLineEnd)))
                    << label << " " << lines.join(QLatin1Char('|')).toStdString();
            }
}

// On a ヒサゴ CJH861S label (83.8 × 42.3 mm) the name stays within 2.5 × the
// address, read back from the PDF.
TEST(NameProportions, LabelNameWithinTwoAndAHalfAddresses) {
    TLabelPaper label;
    label.Maker = U(u"ヒサゴ");
    label.Model = QStringLiteral("CJH861S");
    label.Width = Mm(83.8);
    label.Height = Mm(42.3);
    label.TopMargin = Mm(20.3);
    label.BottomMargin = Mm(22.9);
    label.LeftMargin = Mm(20.3);
    label.RightMargin = Mm(18.3);
    label.Columns = 2;
    label.Rows = 6;
    TPrintSettings st;
    st.Type = 1;
    st.Frames = DefaultLabelFrames();
    const TPieceSetup setup = MakePieceSetup(st, label, nullptr);
    QTemporaryDir dir;
    const TUserInfo records[] = {sample::Midoricho(), sample::KyotoLong(), LongAddress()};
    for (const TUserInfo& r : records) {
        const QList<Word> words = Words(WritePdf(dir, QStringLiteral("l.pdf"), {&r}, setup));
        const PreviewScale s = setup.FrameScale();
        // The first label sits at the sheet's margins.
        const QRectF nam = FrameMm(st.Frames.NAM, s).translated(20.3, 20.3);
        const QRectF add = FrameMm(st.Frames.ADD, s).translated(20.3, 20.3);
        const double name = LargestCellMm(words, nam, false),
                     address = LargestCellMm(words, add, false);
        ASSERT_GT(address, 0) << r.PerSonalAddress_1.toStdString();
        ASSERT_GT(name, 0) << r.PerSonalAddress_1.toStdString();
        EXPECT_LE(name / address, 2.5 + 0.05) << r.PerSonalAddress_1.toStdString();
        EXPECT_GT(name, address) << r.PerSonalAddress_1.toStdString();
    }
}
