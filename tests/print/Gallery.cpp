// Draws docs/print-gallery: the sample records on every paper kind in both
// writing directions, a label sheet, a private and an office sender block.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "print/CalibrationSheet.h"
#include "print/PieceRenderer.h"
#include "print/PreviewBackground.h"
#include "tests/print/SampleRecords.h"

using namespace q2;

namespace {

QImage Render(const TUserInfo& r, const TPieceSetup& setup, Dpi dpi, bool background) {
    QImage img(PieceSizePx(setup, dpi), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (background && !setup.IsLabel())
        DrawPreviewBackground(p, setup.Kind, setup.Geometry().UnitWidth, setup.Geometry().UnitHeight, dpi);
    RenderPiece(p, r, setup, dpi, PrintSpacing(dpi), TRenderPurpose::Print, {false});
    // The frames, as the dialog outlines them.
    QPen pen(QColor(60, 90, 230, 140));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    const PreviewScale s = setup.FrameScale();
    const TLayoutFrames& f = setup.Settings.Frames;
    for (const PreviewRect* fr : {&f.ZIP, &f.ADD, &f.NAM, &f.CUS, &f.SEN, &f.SZIP}) {
        const DeviceRect d = FrameToDevice(*fr, s, dpi);
        p.drawRect(d.left.v, d.top.v, d.width.v, d.height.v);
    }
    return img;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/print-gallery");
    QDir().mkpath(out);
    const Dpi dpi{200, 200};
    TSenderInfoList senders;
    *senders.Add() = sample::PrivateSender();
    *senders.Add() = sample::OfficeSender();

    const TUserInfo family = sample::FamilyOfFive();
    const TUserInfo midori = sample::Midoricho();
    const TUserInfo office = sample::Office(0);
    for (int kind = kFirstPaperKind; kind <= kLastPaperKind; ++kind) {
        for (bool vertical : {true, false}) {
            TPrintSettings st;
            st.PostcardIndex = kind;
            st.Vertical = vertical;
            st.Frames = DefaultFrames(kind, vertical);
            st.PrintCostom = true;
            st.PrintSender = PaperKindInfo(kind)->IsPostcard();
            const TPieceSetup setup = MakePieceSetup(st, std::nullopt, &senders);
            const TUserInfo& rec = kind % 3 == 0 ? family : kind % 3 == 1 ? midori : office;
            const QString name = QStringLiteral("%1/kind%2-%3.png").arg(out).arg(kind, 2, 10, QLatin1Char('0'))
                                     .arg(vertical ? "vertical" : "horizontal");
            Render(rec, setup, dpi, true).save(name);
            std::printf("%s\n", qPrintable(name));
        }
    }
    // Office modes on 長形3号, vertical.
    for (int mode = 1; mode <= 3; ++mode) {
        TPrintSettings st;
        st.PostcardIndex = 6;
        st.Frames = DefaultFrames(6, true);
        st.SprintControl = mode;
        const TPieceSetup setup = MakePieceSetup(st, std::nullopt, &senders);
        const QString name = QStringLiteral("%1/office-mode%2.png").arg(out).arg(mode);
        Render(office, setup, dpi, true).save(name);
        std::printf("%s\n", qPrintable(name));
    }
    // Sender blocks: private (joint names) and office, vertical and horizontal.
    for (int which = 0; which < 2; ++which) {
        for (bool vertical : {true, false}) {
            TPrintSettings st;
            st.Vertical = vertical;
            st.Frames = DefaultFrames(3, vertical);
            st.PrintSender = true;
            st.SuseNo = which;
            st.SuseType = which;
            st.ZipPrintState = which == 1;
            const TPieceSetup setup = MakePieceSetup(st, std::nullopt, &senders);
            const QString name = QStringLiteral("%1/sender-%2-%3.png").arg(out)
                                     .arg(which ? "office" : "private").arg(vertical ? "vertical" : "horizontal");
            Render(midori, setup, dpi, true).save(name);
            std::printf("%s\n", qPrintable(name));
        }
    }
    // Typesetting: records with a long Kyoto address, a building with ＦＬ and
    // 号室, half-width katakana, a Latin name and a Latin building name, on
    // 年賀 with the sender, vertical under each numeral option and horizontal.
    struct Typeset {
        const char* name;
        TUserInfo record;
    };
    const Typeset typeset[] = {{"kyoto", sample::KyotoLong()},
                               {"latin", sample::LatinName()},
                               {"katakana", sample::FamilyOfFive()}};
    const struct {
        const char* name;
        TVerticalNumerals numerals;
    } numerals[] = {{"kanji", TVerticalNumerals::Kanji},
                    {"positional", TVerticalNumerals::KanjiPositional},
                    {"arabic", TVerticalNumerals::Arabic}};
    for (const Typeset& t : typeset) {
        for (int n = -1; n < 3; ++n) {
            const bool vertical = n >= 0;
            TPrintSettings st;
            st.Vertical = vertical;
            st.Frames = DefaultFrames(3, vertical);
            st.PrintSender = true;
            if (vertical) st.NumeralsVertical = numerals[n].numerals;
            const TPieceSetup setup = MakePieceSetup(st, std::nullopt, &senders);
            const QString name = vertical ? QStringLiteral("%1/typeset-%2-vertical-%3.png").arg(out, t.name, numerals[n].name)
                                          : QStringLiteral("%1/typeset-%2-horizontal.png").arg(out, t.name);
            Render(t.record, setup, dpi, true).save(name);
            std::printf("%s\n", qPrintable(name));
        }
    }
    {
        TPrintSettings st;
        st.Frames = DefaultFrames(3, true);
        st.LatinVertical = TLatinInVertical::Upright;
        const TPieceSetup setup = MakePieceSetup(st, std::nullopt, &senders);
        const QString name = QStringLiteral("%1/typeset-latin-vertical-upright-letters.png").arg(out);
        Render(sample::LatinName(), setup, dpi, true).save(name);
        std::printf("%s\n", qPrintable(name));
    }
    // The long office address, broken into lines at 10 points and more.
    const TUserInfo longAddress = sample::Personal(
        u"高橋", u"誠", u"530", u"0001",
        u"大阪府大阪市北区梅田三丁目１番３号大阪ステーションシティノースゲートビルディング２７階ＡＢＣ法律事務所内", u"");
    for (int kind : {3, 9})
        for (bool vertical : {true, false}) {
            TPrintSettings st;
            st.PostcardIndex = kind;
            st.Vertical = vertical;
            st.Frames = DefaultFrames(kind, vertical);
            const TPieceSetup setup = MakePieceSetup(st, std::nullopt, &senders);
            const QString name = QStringLiteral("%1/long-address-kind%2-%3.png").arg(out).arg(kind, 2, 10, QLatin1Char('0'))
                                     .arg(vertical ? "vertical" : "horizontal");
            Render(longAddress, setup, dpi, true).save(name);
            std::printf("%s\n", qPrintable(name));
        }
    // The calibration sheets of 年賀 and 長形3号.
    for (int kind : {3, 6}) {
        const TPaperGeometry g = GeometryForKind(kind);
        QImage img(MmToDeviceX(g.UnitWidth, dpi).v, MmToDeviceY(g.UnitHeight, dpi).v, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        DrawCalibrationSheet(p, kind, dpi);
        p.end();
        const QString name = QStringLiteral("%1/calibration-kind%2.png").arg(out).arg(kind, 2, 10, QLatin1Char('0'));
        img.save(name);
        std::printf("%s\n", qPrintable(name));
    }
    // A label sheet: ヒサゴ CJH861S (2 × 6 labels of 83.8 × 42.3 mm).
    TLabelPaper label;
    label.Maker = QString::fromUtf16(u"ヒサゴ");
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
    st.PrintCostom = true;
    const TPieceSetup setup = MakePieceSetup(st, label, &senders);
    const Dpi sheetDpi{150, 150};
    QImage sheet(MmToDeviceX(Mm(210), sheetDpi).v, MmToDeviceY(Mm(297), sheetDpi).v, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        p.setRenderHint(QPainter::Antialiasing);
        const TPaperGeometry g = setup.Geometry();
        const TUserInfo* recs[] = {&family, &midori, &office};
        for (int i = 0; i < 5; ++i) {
            const MmPoint o = LabelOrigin(g, i % 2, i / 2);
            p.save();
            p.translate(MmToDeviceX(o.x, sheetDpi).v, MmToDeviceY(o.y, sheetDpi).v);
            RenderPiece(p, *recs[i % 3], setup, sheetDpi, PrintSpacing(sheetDpi), TRenderPurpose::Print);
            p.setPen(QColor(180, 180, 180));
            const QSize s = PieceSizePx(setup, sheetDpi);
            p.drawRoundedRect(QRect(0, 0, s.width(), s.height()), 8, 8);
            p.restore();
        }
    }
    sheet.save(out + QStringLiteral("/label-sheet.png"));
    std::printf("%s/label-sheet.png\n", qPrintable(out));
    return 0;
}
