// The print dialog offscreen: target and direction changes, frame editing,
// settings, the label catalogue and registration, and the print run into PDF.
#include <QDeadlineTimer>
#include <QDir>
#include <QMap>
#include <QDoubleSpinBox>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTabWidget>
#include <QTemporaryDir>
#include <climits>
#include <QTest>
#include <QTreeWidget>
#include <QLabel>
#include <QScrollArea>
#include <gtest/gtest.h>

#include "model/UserInfoList.h"
#include "platform/Cp932.h"
#include "platform/Prompter.h"
#include "print/FormAddPaper.h"
#include "print/FormPrintAddress.h"
#include "print/PostalCodeBoxes.h"
#include "print/PrintableArea.h"
#include "print/PrinterJob.h"
#include "platform/Clock.h"
#include "tests/print/SampleRecords.h"
#include "tests/support/FieldSamples.h"

using namespace q2;
using sample::U;

namespace {

QString RunProgram(const QString& program, const QStringList& args, int* rc = nullptr,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(120000);
    if (rc) *rc = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput()) +
           QString::fromUtf8(p.readAllStandardError());
}

struct Word {
    int page;
    double x, y;
    QString text;
};

// pdftotext -bbox, with the page each word is on; positions in mm.
QList<Word> Words(const QString& pdf) {
    const QString html = RunProgram("pdftotext", {"-bbox", pdf, "-"});
    static const QRegularExpression re(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    QList<Word> out;
    int page = -1;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0) == "<page ") {
            ++page;
            continue;
        }
        out.append({page, m.captured(1).toDouble() * 25.4 / 72,
                    m.captured(2).toDouble() * 25.4 / 72, m.captured(3)});
    }
    return out;
}

// "Pages: N" and the first page's size in mm from pdfinfo.
struct PdfInfo {
    int pages = 0;
    double width = 0, height = 0;
};
PdfInfo Info(const QString& pdf) {
    const QString text = RunProgram("pdfinfo", {pdf});
    PdfInfo info;
    const auto pages = QRegularExpression(R"(Pages:\s+(\d+))").match(text);
    const auto size = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(text);
    if (pages.hasMatch()) info.pages = pages.captured(1).toInt();
    if (size.hasMatch()) {
        info.width = size.captured(1).toDouble() * 25.4 / 72;
        info.height = size.captured(2).toDouble() * 25.4 / 72;
    }
    return info;
}

// A paper.cfg written line by line, CP932 with CR LF.
QByteArray PaperFile(const QStringList& lines) {
    QString text;
    for (const QString& l : lines) text += l + "\r\n";
    return EncodeCp932(text);
}

QStringList Record(const QString& maker, const QString& model, const QStringList& values) {
    QStringList out{"*" + maker + "," + model};
    for (const QString& v : values) out << v + "'";
    return out;
}

const QStringList kTwoBySix = {"0", "83.8", "42.3", "20.3", "22.9", "20.3", "18.3", "2", "6"};

class PrintDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        paperPath = dir.filePath("paper.cfg");
        configPath = dir.filePath("config.ini");
        WritePaper(Record(U(u"エーワン"), "28186", kTwoBySix) +
                   Record(U(u"ヒサゴ"), "ELM007", kTwoBySix));
        for (int i = 0; i < TSenderInfoList::kSenderCount; ++i)
            *senders.Add() = sample::PrivateSender();
    }
    void WritePaper(const QStringList& lines) {
        QFile f(paperPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(PaperFile(lines));
    }
    QStringList PaperLines() {
        QStringList lines;
        EXPECT_TRUE(ReadPaperLines(paperPath, &lines));
        return lines;
    }
    void WriteConfig(const QString& keys) {
        QFile f(configPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("[PRINT_CONF]\r\n" + keys).toLatin1());
    }
    // Creates the dialog and shows it as ShowPrintDialog does, without blocking.
    TFormPrintAddress& Show(int records = 2) {
        while (int(book.size()) < records) {
            book.push_back(std::make_unique<TUserInfo>(book.size() % 2 ? sample::Midoricho()
                                                                       : sample::FamilyOfFive()));
        }
        pointers.clear();
        for (auto& r : book) pointers.push_back(r.get());
        form = std::make_unique<TFormPrintAddress>();
        form->SetDataFiles(paperPath, configPath);
        form->TakeRecords(pointers, senders);
        form->FormShow();
        form->show();
        // Mouse positions in these tests are preview pixels.
        form->SetPreviewZoom(1.0);
        return *form;
    }

    QTemporaryDir dir;
    QString paperPath, configPath;
    ScriptedPrompter prompter;
    ScopedPrompter scoped{prompter};
    TSenderInfoList senders;
    std::vector<std::unique_ptr<TUserInfo>> book;
    std::vector<TUserInfo*> pointers;
    std::unique_ptr<TFormPrintAddress> form;
};

// The installed catalogue: every sheet readable, on its maker's tab, and its
// grid inside the A4 sheet with labels no closer than their own size.
TEST(ShippedCatalogue, EverySheetIsSelectableAndFitsItsPage) {
    QList<TLabelRecord> all;
    ASSERT_TRUE(ReadPaperConfig(Q2_SOURCE_DIR "/data/paper.cfg", &all));
    QMap<QString, int> perMaker;
    for (const TLabelRecord& r : all) {
        ++perMaker[r.Maker];
        const std::optional<TLabelPaper> p = ToLabelPaper(r);
        ASSERT_TRUE(p.has_value()) << r.Model.toStdString();
        const TPaperGeometry g = GeometryForLabel(*p);
        EXPECT_TRUE(g.Columns == 1 || LabelPitchX(g).v >= p->Width.v - 0.01)
            << r.Model.toStdString();
        EXPECT_TRUE(g.Rows == 1 || LabelPitchY(g).v >= p->Height.v - 0.01) << r.Model.toStdString();
        const MmPoint last = LabelOrigin(g, g.Columns - 1, g.Rows - 1);
        EXPECT_LE(last.x.v + p->Width.v, g.SheetWidth.v + 0.01) << r.Model.toStdString();
        EXPECT_LE(last.y.v + p->Height.v, g.SheetHeight.v + 0.01) << r.Model.toStdString();
    }
    EXPECT_EQ(all.size(), 346);
    EXPECT_EQ(perMaker.value(U(u"ヒサゴ")), 179);
    EXPECT_EQ(perMaker.value(U(u"エーワン")), 156);
    EXPECT_EQ(perMaker.value(U(u"サンワサプライ")), 11);
    EXPECT_EQ(perMaker.size(), 3);
}

TEST_F(PrintDialog, ListsOnlyTheMarkedRecordsAndStartsOnTheFirst) {
    book.push_back(std::make_unique<TUserInfo>(sample::Office(0)));
    book.back()->CommonPrintCheck = false;
    TFormPrintAddress& f = Show(3);
    ASSERT_EQ(f.PrintList().size(), 2);
    EXPECT_EQ(f.PrintList()[0], book[1].get());
    EXPECT_EQ(f.ListViewPrint->model()->columnCount(), 44);  // "!" and the 43 fields
    EXPECT_EQ(f.ListViewPrint->model()->data(f.ListViewPrint->model()->index(1, 2)).toString(),
              book[2]->PersonalFullName());
    EXPECT_FALSE(f.Preview()->Piece().isNull());
    EXPECT_EQ(f.RememberedKind(), 3);
    EXPECT_EQ(f.Preview()->Area().Width.v, 383);
    f.ButtonCancelClick();
    EXPECT_TRUE(f.PrintList().isEmpty());
    EXPECT_EQ(book.size(), 3u);  // nothing destroyed
}

// An address that does not fit even at the smallest size is marked in the
// list's first column, with the reason as its tooltip; the others are not.
TEST_F(PrintDialog, AnAddressTooLongForTheFloorIsMarkedInTheList) {
    book.push_back(std::make_unique<TUserInfo>(sample::FamilyOfFive()));
    book.push_back(std::make_unique<TUserInfo>(sample::FamilyOfFive()));
    book.back()->PerSonalAddress_2 = QString(U(u"大阪ステーションシティノースゲートビルディング２７階")).repeated(6);
    TFormPrintAddress& f = Show(2);
    ASSERT_EQ(f.PrintList().size(), 2);
    const QAbstractItemModel& m = *f.ListViewPrint->model();
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "!");
    EXPECT_EQ(m.data(m.index(0, 0)).toString(), "");
    EXPECT_EQ(m.data(m.index(1, 0)).toString(), "!");
    EXPECT_TRUE(m.data(m.index(1, 0), Qt::ToolTipRole).toString().contains(U(u"最小の文字の大きさ")));
}

// The print list shows the address list's columns without the print mark.
TEST_F(PrintDialog, PrintListColumnsAndTheirTexts) {
    SetNowForTesting(QDateTime(q2test::kFieldSampleToday, QTime(12, 0)));
    book.push_back(std::make_unique<TUserInfo>(q2test::DistinctRecord()));
    TFormPrintAddress& f = Show(1);
    const QAbstractItemModel& m = *f.ListViewPrint->model();
    struct Column {
        const char* caption;
        const char* text;
    };
    const Column columns[] = {
        {"フリガナ", "ヤマダ タロウ"},
        {"名前", "山田 太郎"},
        {"敬称", "様"},
        {"郵便番号", "263-0023"},
        {"住所１", "千葉県千葉市稲毛区"},
        {"住所２", "緑町1-1"},
        {"電話", "043-111"},
        {"電話/FAX", "043-222"},
        {"メール１", "a@home.jp"},
        {"メール２", "b@home.jp"},
        {"HP", "http://home.jp/"},
        {"生年月日", "1980/06/16"},
        {"年齢", "43"},
        {"性別", "女性"},
        {"フリガナ", "ミドリショウジ"},
        {"会社名", "緑商事"},
        {"会社郵便番号", "100-0005"},
        {"会社住所１", "東京都千代田区"},
        {"会社住所２", "丸の内1-1"},
        {"会社電話", "03-333"},
        {"会社電話/FAX", "03-444"},
        {"会社メール１", "c@work.jp"},
        {"会社メール２", "d@work.jp"},
        {"会社HP", "http://work.jp/"},
        {"部署", "営業部"},
        {"役職", "課長"},
        {"連名１", "一郎"},
        {"連名１敬称", "様"},
        {"連名２", "花子"},
        {"連名２敬称", "殿"},
        {"連名３", "次郎"},
        {"連名３敬称", "くん"},
        {"連名４", "三郎"},
        {"連名４敬称", "ちゃん"},
        {"分類１", "友達"},
        {"分類２", "仕事"},
        {"差込1", "差込A"},
        {"差込2", "差込B"},
        {"差込3", "差込C"},
        {"差込4", "差込D"},
        {"印刷住所", "会社用"},
        {"登録日", "2023/12/01"},
        {"備考", "一行目\r\n二行目"},
    };
    ASSERT_EQ(m.columnCount(), int(std::size(columns)) + 1);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "!");
    for (int c = 1; c < m.columnCount(); ++c) {
        EXPECT_EQ(m.headerData(c, Qt::Horizontal).toString(),
                  QString::fromUtf8(columns[c - 1].caption))
            << c;
        EXPECT_EQ(m.data(m.index(0, c)).toString(), QString::fromUtf8(columns[c - 1].text)) << c;
    }
    SetNowForTesting(std::nullopt);
}

TEST_F(PrintDialog, NoRowSelectedShowsOnlyBackgroundAndPrintableArea) {
    TFormPrintAddress& f = Show();
    f.SelectPrintRow(-1);
    EXPECT_TRUE(f.Preview()->Piece().isNull());
    const QImage shown = f.Preview()->grab().toImage();
    // The red postal boxes of the background are there; no black ink of a text.
    int red = 0, black = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c.red() > 180 && c.green() < 120;
            black += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 100);
    EXPECT_LT(black, 50);
}

// The digits of the addressee's postal code, drawn at the default frames of
// every kind and direction, lie inside the red boxes of the background: red
// ink is met going left, right, up and down from every pixel of a digit.
TEST_F(PrintDialog, RedBoxesOfEveryKindHoldTheDigits) {
    TFormPrintAddress& f = Show(1);
    auto red = [](QRgb c) {
        return qRed(c) > 150 && qRed(c) - qGreen(c) > 30 && qRed(c) - qBlue(c) > 30;
    };
    for (int kind = 1; kind <= 10; ++kind)
        for (bool vertical : {true, false}) {
            // Horizontal 長形3号(横) places the code at the top left, away from
            // the boxes its envelope face has at the top right.
            if (kind == 8 && !vertical) continue;
            f.SetVertical(vertical);
            f.SelectPaperKind(kind);
            const QImage bg = f.Preview()->Background().convertToFormat(QImage::Format_RGB32);
            const QImage piece = f.Preview()->Piece();
            const PreviewRect zip = DefaultFrames(kind, vertical).ZIP;
            const int reach =
                RoundInt(f.CurrentSetup().PictureScale().perMm * 16);  // boxes are smaller
            int ink = 0, enclosed = 0;
            // Japan Post's boxes end 7 mm below the frame's top; the address
            // begins 4 mm further down.
            const int down = UsesJapanPostBoxes(kind) ? RoundInt(f.CurrentSetup().PictureScale().perMm * 7) : reach;
            for (int y = std::max(0, zip.top.v - 5); y < zip.top.v + down; ++y)
                for (int x = std::max(0, zip.left.v - 5); x < std::min(piece.width(), bg.width());
                     ++x) {
                    if (qAlpha(piece.pixel(x, y)) < 100) continue;
                    ++ink;
                    auto meets = [&](int dx, int dy) {
                        for (int i = 1; i <= reach; ++i) {
                            const QPoint p(x + dx * i, y + dy * i);
                            if (!bg.rect().contains(p)) return false;
                            if (red(bg.pixel(p))) return true;
                        }
                        return false;
                    };
                    enclosed += meets(-1, 0) && meets(1, 0) && meets(0, -1) && meets(0, 1);
                }
            EXPECT_GT(ink, 40) << "kind " << kind << (vertical ? " vertical" : " horizontal");
            EXPECT_GE(enclosed, ink * 95 / 100)
                << "kind " << kind << (vertical ? " vertical" : " horizontal");
        }
}

TEST_F(PrintDialog, LabelTabTurnsSenderOffForcesHorizontalAndBackRestoresTheDirection) {
    TFormPrintAddress& f = Show();
    f.CheckBoxPrintSender->setChecked(true);
    ASSERT_TRUE(f.Vertical());
    f.PCPrintType->setCurrentIndex(1);
    EXPECT_FALSE(f.Vertical());
    EXPECT_FALSE(f.CheckBoxPrintSender->isChecked());
    EXPECT_FALSE(f.Preview()->FrameVisible(TFrameId::SEN));
    ASSERT_TRUE(f.SelectedLabel().has_value());  // the first row of the first non-empty tab
    EXPECT_EQ(f.SelectedLabel()->Model, "ELM007");
    EXPECT_EQ(f.Preview()->Frames(), DefaultLabelFrames());
    EXPECT_EQ(f.Preview()->Area().Width.v, 384);
    EXPECT_EQ(f.Preview()->Area().Height.v, RoundInt(384 * 42.3 / 83.8));
    // Another maker's list: no row chosen there yet, so nothing is printed.
    f.TCMaker->setCurrentIndex(2);
    f.SetPrinterSetup([](QPrinter&, QWidget*) { return true; });
    EXPECT_FALSE(f.PrintAll());
    EXPECT_EQ(prompter.shown.last(), U(u"印刷用紙が選択されていません。"));
    f.TCMaker->setCurrentIndex(1);
    f.ListViewPaper->topLevelItem(0)->setSelected(true);
    f.PCPrintType->setCurrentIndex(0);
    EXPECT_TRUE(f.Vertical());
    EXPECT_FALSE(f.CheckBoxPrintSender->isChecked());
    EXPECT_EQ(f.Preview()->Frames(), DefaultFrames(3, true));
    EXPECT_EQ(f.Preview()->Area().Height.v, 567);
}

TEST_F(PrintDialog, AnEmptyHisagoTabLeavesNoLabelAndPrintingIsRefused) {
    WritePaper(Record(U(u"エーワン"), "28186", kTwoBySix));
    WriteConfig("TYPE=1\r\nP_MAKER=3\r\nP_INDEX=0\r\n");  // マクセル: empty
    TFormPrintAddress& f = Show();
    EXPECT_EQ(f.TCMaker->currentIndex(), 1);
    EXPECT_FALSE(f.SelectedLabel().has_value());
    bool setupShown = false;
    f.SetPrinterSetup([&](QPrinter&, QWidget*) { return setupShown = true; });
    EXPECT_FALSE(f.PrintAll());
    EXPECT_FALSE(setupShown);
    EXPECT_EQ(prompter.shown.last(), U(u"印刷用紙が選択されていません。"));
}

TEST_F(PrintDialog, DraggingStopsAtTheEdgeAndResizingAtFifteen) {
    TFormPrintAddress& f = Show();
    TPreviewWidget* p = f.Preview();
    const PreviewRect nam = p->Frames().NAM;
    const QPoint inside(nam.left.v + 10, nam.top.v + 10);
    QTest::mousePress(p, Qt::LeftButton, {}, inside);
    ASSERT_EQ(p->SelectedFrame(), TFrameId::NAM);
    QTest::mouseMove(p, inside + QPoint(1000, 1000));
    QTest::mouseRelease(p, Qt::LeftButton, {}, inside + QPoint(1000, 1000));
    PreviewRect moved = p->Frames().NAM;
    EXPECT_EQ(moved.left.v, 383 - nam.width.v + 1);
    EXPECT_EQ(moved.top.v, 567 - nam.height.v + 1);
    EXPECT_EQ(moved.width, nam.width);
    QTest::mousePress(p, Qt::LeftButton, {}, QPoint(moved.left.v + 5, moved.top.v + 5));
    QTest::mouseMove(p, QPoint(-500, -500));
    QTest::mouseRelease(p, Qt::LeftButton, {}, QPoint(-500, -500));
    EXPECT_EQ(p->Frames().NAM.left.v, 0);
    EXPECT_EQ(p->Frames().NAM.top.v, 0);

    // The bottom-right square dragged beyond the top-left corner: 15 × 15.
    const QPoint square = p->CornerSquare(TFrameCorner::RightBottom).center();
    QTest::mousePress(p, Qt::LeftButton, {}, square);
    QTest::mouseMove(p, QPoint(2, 2));
    QTest::mouseRelease(p, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(p->Frames().NAM,
              (PreviewRect{PreviewPx(0), PreviewPx(0), PreviewPx(15), PreviewPx(15)}));
    // The top-left square pulled outside the area stops at the area's corner.
    EXPECT_EQ(
        ResizeFrame(nam, TFrameCorner::LeftTop, PreviewPx(-40), PreviewPx(-40), {PreviewPx(383), PreviewPx(567)}),
        (PreviewRect{PreviewPx(0), PreviewPx(0), PreviewPx(nam.left.v + nam.width.v), PreviewPx(nam.top.v + nam.height.v)}));
    // A click beside every frame hides the squares.
    QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(380, 560));
    EXPECT_FALSE(p->SelectedFrame().has_value());
}

TEST_F(PrintDialog, DirectionSwitchReplacesTheFramesByTheKindsDefaults) {
    TFormPrintAddress& f = Show();
    f.SelectPaperKind(1);
    TLayoutFrames moved = f.Preview()->Frames();
    moved.ADD.left = PreviewPx(5);
    f.SetFrames(moved);
    f.RadioButtonYoko->click();
    EXPECT_EQ(f.Preview()->Frames(), DefaultFrames(1, false));
    f.RadioButtonTate->click();
    EXPECT_EQ(f.Preview()->Frames(), DefaultFrames(1, true));
    // Envelopes take their own panel size.
    f.PaperButton[6]->click();
    EXPECT_EQ(f.Preview()->Area().Width.v, 230);
    EXPECT_EQ(f.Preview()->Area().Height.v, 450);
    EXPECT_EQ(f.PaperGeometry().UnitWidth.v, 120);
}

TEST_F(PrintDialog, PostcardIndexZeroPressesNothingAndKeepsAPostcard) {
    WriteConfig("TYPE=0\r\nPOSTCARD_INDEX=0\r\n");
    TFormPrintAddress& f = Show();
    EXPECT_EQ(f.CheckedPaperKind(), 0);
    EXPECT_EQ(f.RememberedKind(), 0);
    EXPECT_EQ(f.PaperGeometry().UnitWidth.v, 100);
    EXPECT_EQ(f.PaperGeometry().UnitHeight.v, 148);
}

TEST_F(PrintDialog, AStoredHorizontalFontSelectsItsVerticalFace) {
    const QStringList faces = ListJapaneseFaces();
    QString face;
    for (const QString& n : faces)
        if (!n.startsWith('@') && faces.indexOf(n) > 0 && faces.contains("@" + n)) face = n;
    ASSERT_FALSE(face.isEmpty());
    WriteConfig("VERTICAL=1\r\nFONT=" + face + "\r\n");
    TFormPrintAddress& f = Show();
    EXPECT_EQ(f.SelectedFontName(), "@" + face);
    f.RadioButtonYoko->click();
    EXPECT_EQ(f.SelectedFontName(), face);
}

TEST_F(PrintDialog, SettingsSurviveClosingAndShowingAgain) {
    TFormPrintAddress& f = Show();
    f.PaperButton[4]->click();
    f.RadioButtonYoko->click();
    f.CBCostom->setChecked(true);
    f.CheckBox1->setChecked(true);
    f.CBPrintControl->setCurrentIndex(2);
    f.CBSenderName->setCurrentIndex(4);
    TLayoutFrames frames = f.Preview()->Frames();
    frames.SEN.top = PreviewPx(400);
    f.SetFrames(frames);
    f.ButtonCancelClick();
    const TPrintSettings st = LoadPrintSettings(configPath);
    EXPECT_EQ(st.PostcardIndex, 4);
    EXPECT_FALSE(st.Vertical);
    EXPECT_TRUE(st.PrintCostom);
    EXPECT_TRUE(st.AteSize);
    EXPECT_EQ(st.SprintControl, 2);
    EXPECT_EQ(st.SuseNo, 4);
    EXPECT_EQ(st.Frames, frames);
    TFormPrintAddress& g = Show();
    EXPECT_EQ(g.CheckedPaperKind(), 4);
    EXPECT_EQ(g.Preview()->Frames(), frames);
    EXPECT_TRUE(g.Preview()->FrameVisible(TFrameId::CUS));
}

TEST_F(PrintDialog, LabelListFollowsTheFileRules) {
    WritePaper(Record(U(u"ノーブランド"), "X1", kTwoBySix) +
               QStringList{U(u"*ヒサゴ,A"), "0' note", "83.8'mm", "42.3", "20'", "20'", "20'",
                           "20'", "2'", "6'"} +
               QStringList{U(u"*ヒサゴ,short"), "0'", "10'"});
    WriteConfig("TYPE=1\r\nP_MAKER=1\r\nP_INDEX=0\r\n");
    TFormPrintAddress& f = Show();
    ASSERT_EQ(f.ListViewPaper->topLevelItemCount(), 1);  // the short trailing group is not read
    const QTreeWidgetItem* row = f.ListViewPaper->topLevelItem(0);
    EXPECT_EQ(row->text(0), "A");
    EXPECT_EQ(row->text(1), "83.8");  // text after the "'" is ignored
    EXPECT_EQ(row->text(2), "");      // no "'": empty
    EXPECT_EQ(row->text(9), "0");
    // The empty height is refused on selection; no label, so no print.
    EXPECT_FALSE(f.SelectedLabel().has_value());
    EXPECT_TRUE(prompter.shown.contains(
        U(u"paper.cfg の用紙「ヒサゴ,A」の縦幅が「」です。0 より大きい数値（mm）を指定して下さい")));
    // The unknown maker's record is kept when the file is rewritten.
    f.TCMaker->setCurrentIndex(0);
    f.AddPaperForm()->EditTitle->setText("mine");
    for (QLineEdit* e : {f.AddPaperForm()->EditLabelHor, f.AddPaperForm()->EditLabelVer,
                         f.AddPaperForm()->EditOffsetUpper, f.AddPaperForm()->EditOffsetLower,
                         f.AddPaperForm()->EditOffsetLeft, f.AddPaperForm()->EditOffsetRight,
                         f.AddPaperForm()->EditLow, f.AddPaperForm()->EditColumn})
        e->setText("10");
    ASSERT_TRUE(f.AddPaperForm()->RegisterLabelPaper());
    EXPECT_EQ(PaperLines().mid(0, 10), Record(U(u"ノーブランド"), "X1", kTwoBySix));
}

TEST_F(PrintDialog, ANonNumericLabelIsRefusedOnSelectionKeepingThePreviousOne) {
    WritePaper(Record(U(u"ヒサゴ"), "good", kTwoBySix) +
               Record(U(u"ヒサゴ"), "bad", {"0", "abc", "42", "1", "1", "1", "1", "2", "6"}));
    WriteConfig("TYPE=1\r\nP_MAKER=1\r\nP_INDEX=0\r\n");
    TFormPrintAddress& f = Show();
    ASSERT_EQ(f.SelectedLabel()->Model, "good");
    f.ListViewPaper->topLevelItem(1)->setSelected(true);
    f.ListViewPaper->topLevelItem(0)->setSelected(false);
    EXPECT_EQ(f.SelectedLabel()->Model, "good");
    EXPECT_EQ(f.PaperGeometry().UnitWidth.v, 83.8);
    EXPECT_EQ(f.SelectedLabelRow(), 0);
    EXPECT_EQ(prompter.shown.last(),
              U(u"paper.cfg の用紙「ヒサゴ,bad」の横幅が「abc」です。0 より大きい数値（mm）を指定して下さい"));
}

class Registration : public PrintDialog {
protected:
    TFormAddPaper& Fill(const QString& title, const QStringList& values) {
        TFormAddPaper& a = *Show().AddPaperForm();
        a.ClearEdits();
        a.EditTitle->setText(title);
        QLineEdit* edits[] = {a.EditLabelHor,    a.EditLabelVer,   a.EditOffsetUpper,
                              a.EditOffsetLower, a.EditOffsetLeft, a.EditOffsetRight,
                              a.EditLow,         a.EditColumn};
        for (int i = 0; i < 8; ++i) edits[i]->setText(values.value(i));
        return a;
    }
    const QStringList kValues = {" 86.4", "42.3", "21.2", "22", "18.6", "18.6", "2", "6 "};
};

TEST_F(Registration, EmptyOrNonNumericFieldsAreNamedAndNothingIsWritten) {
    const QByteArray before = PaperFile(PaperLines());
    struct Case {
        QString title;
        QStringList values;
        const char16_t* message;
    };
    const Case cases[] = {
        {" ", kValues, u"ラベルのタイトルを入力して下さい"},
        {"t", {"1", "1", "1", "1", "1", "1", "1", ""}, u"段数を入力して下さい"},
        {"t", {"1", "", "1", "1", "1", "1", "1", "1"}, u"ラベル高さを入力して下さい"},
        {"t", {"1", "1", "1", "x", "1", "1", "1", "1"}, u"下余白には数値を入力して下さい"},
        {"t", {"1", "1", "1", "1", "1", "1", "1.5", "1"}, u"列数には1以上の整数を入力して下さい"},
        {"t", {"0", "1", "1", "1", "1", "1", "1", "1"}, u"ラベル幅には数値を入力して下さい"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Fill(c.title, c.values).RegisterLabelPaper());
        EXPECT_EQ(prompter.shown.last(), U(c.message));
    }
    QFile f(paperPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(Registration, DuplicatesAreRefusedWhereverTheyStandOtherMakersNot) {
    WritePaper(Record(U(u"オリジナル"), "first", kTwoBySix) +
               Record(U(u"ヒサゴ"), "ELM007", kTwoBySix));
    EXPECT_FALSE(Fill("first", kValues).RegisterLabelPaper());
    EXPECT_EQ(prompter.shown.last(),
              U(u"同名のラベルが存在します、ラベルタイトルを別のものにしてください"));
    EXPECT_TRUE(Fill("ELM007", kValues).RegisterLabelPaper());
    EXPECT_EQ(prompter.shown.last(), U(u"ELM007を追加しました"));
    // Stored as typed, blanks included, and listed last on the tab.
    EXPECT_EQ(PaperLines().mid(20),
              Record(U(u"オリジナル"), "ELM007",
                     {"0", " 86.4", "42.3", "21.2", "22", "18.6", "18.6", "2", "6 "}));
    form->TCMaker->setCurrentIndex(1);
    form->TCMaker->setCurrentIndex(0);
    ASSERT_EQ(form->ListViewPaper->topLevelItemCount(), 2);
    EXPECT_EQ(form->ListViewPaper->topLevelItem(1)->text(0), "ELM007");
}

TEST_F(Registration, LandscapeWritesOneAndSelectsALandscapeSheet) {
    WritePaper({});
    TFormAddPaper& a = Fill("wide", {"90", "50", "10", "10", "10", "10", "3", "4"});
    a.RadioButtonPaperA4T->setChecked(true);
    ASSERT_TRUE(a.RegisterLabelPaper());
    EXPECT_EQ(PaperLines().value(1), "1'");
    form->TCMaker->setCurrentIndex(1);
    form->TCMaker->setCurrentIndex(0);
    form->ListViewPaper->topLevelItem(0)->setSelected(true);
    form->PCPrintType->setCurrentIndex(1);
    ASSERT_TRUE(form->SelectedLabel().has_value());
    EXPECT_EQ(form->PaperGeometry().UnitWidth.v, 90);
    EXPECT_EQ(form->PaperGeometry().SheetWidth.v, 297);
    EXPECT_EQ(form->PaperGeometry().SheetHeight.v, 210);
}

TEST_F(Registration, DeletingAPrefixTitleRemovesExactlyThatRecord) {
    WritePaper(Record(U(u"オリジナル"), "AB", kTwoBySix) +
               Record(U(u"オリジナル"), "A", kTwoBySix));
    TFormPrintAddress& f = Show();
    f.TCMaker->setCurrentIndex(1);
    f.TCMaker->setCurrentIndex(0);
    f.DeleteLabelPaper();
    EXPECT_EQ(prompter.shown.last(), U(u"削除するラベルを選択して下さい"));
    f.ListViewPaper->topLevelItem(1)->setSelected(true);
    prompter.answers = {false};
    f.DeleteLabelPaper();
    EXPECT_EQ(PaperLines().size(), 20);
    prompter.answers = {true};
    f.DeleteLabelPaper();
    EXPECT_EQ(prompter.asked.last(), U(u"Aを削除しますか？"));
    EXPECT_EQ(PaperLines(), Record(U(u"オリジナル"), "AB", kTwoBySix));
    ASSERT_EQ(f.ListViewPaper->topLevelItemCount(), 1);
    // Not on another maker's tab.
    f.TCMaker->setCurrentIndex(1);
    EXPECT_FALSE(f.Button3->isEnabled());
}

// The print run through the dialog's own path, into PDF files.
class PrintRun : public PrintDialog {
protected:
    void ToPdf(TFormPrintAddress& f, const QString& path) {
        f.SetPrinterSetup([path](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(path);
            p.setResolution(600);
            return true;
        });
    }
};

TEST_F(PrintRun, ThreePostcardsGiveThreePostcardPagesWithTheToolsText) {
    WriteConfig("VERTICAL=0\r\n");
    TFormPrintAddress& f = Show(3);
    f.SelectPaperKind(3);  // horizontal defaults, so that text reads back
    const QString pdf = dir.filePath("dialog.pdf");
    ToPdf(f, pdf);
    f.Printer().setPageMargins(QMarginsF(5, 7, 5, 5),
                               QPageLayout::Millimeter);  // unprintable edges
    ASSERT_TRUE(f.PrintAll());
    const PdfInfo info = Info(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.width, 100, 0.5);
    EXPECT_NEAR(info.height, 148, 0.5);

    // The same records through q2tool print, with the settings the dialog saves.
    f.ButtonCancelClick();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dir.filePath("xdg"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString data = dir.filePath("xdg/Zabelle/Quintaro2");
    QDir().mkpath(data);
    QFile::copy(configPath, data + "/config.ini");
    TUserInfoList list;
    for (auto& r : book) *list.Add() = *r;
    ASSERT_TRUE(list.SaveToFile(dir.filePath("book.QT2")));
    int rc = -1;
    const QString out = RunProgram(
        Q2_TOOL_PATH, {"print", dir.filePath("book.QT2"), dir.filePath("tool.pdf")}, &rc, env);
    ASSERT_EQ(rc, 0) << out.toStdString();
    const QList<Word> mine = Words(pdf), tools = Words(dir.filePath("tool.pdf"));
    ASSERT_GT(mine.size(), 20);
    ASSERT_EQ(mine.size(), tools.size());
    for (qsizetype i = 0; i < mine.size(); ++i) {
        EXPECT_EQ(mine[i].page, tools[i].page);
        EXPECT_EQ(mine[i].text, tools[i].text);
        EXPECT_NEAR(mine[i].x, tools[i].x, 0.1) << mine[i].text.toStdString();
        EXPECT_NEAR(mine[i].y, tools[i].y, 0.1) << mine[i].text.toStdString();
    }
}

struct LabelCase {
    int records, pages;
};

// Page `page` (from 0) of a PDF in grey at `dpi`.
QImage PageImage(const QString& pdf, int page, int dpi) {
    const QString prefix = pdf + QString(".p%1-%2").arg(page).arg(dpi);
    RunProgram("pdftoppm",
               {"-r", QString::number(dpi), "-gray", "-singlefile", "-f", QString::number(page + 1),
                "-l", QString::number(page + 1), "-png", pdf, prefix});
    return QImage(prefix + ".png");
}

// The top-left of the ink inside `area` (mm) of page `page` (from 0), in mm.
std::optional<QPointF> InkTopLeft(const QString& pdf, int page, const QRectF& area) {
    const QImage img = PageImage(pdf, page, 254);
    if (img.isNull()) return std::nullopt;
    const double px = 10;  // 254 dpi: ten pixels a millimetre
    int minX = INT_MAX, minY = INT_MAX;
    for (int y = int(area.top() * px); y < int(area.bottom() * px) && y < img.height(); ++y)
        for (int x = int(area.left() * px); x < int(area.right() * px) && x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
            }
    if (minX == INT_MAX) return std::nullopt;
    return QPointF(minX / px, minY / px);
}

TEST_F(PrintRun, LabelSheetsPlaceRecordsAtTheDerivedPitches) {
    // The real catalogue's ヒサゴ ELM007: 83.8 × 42.3 mm, 2 × 6 on portrait A4.
    QFile::remove(paperPath);
    ASSERT_TRUE(QFile::copy(Q2_SOURCE_DIR "/data/paper.cfg", paperPath));
    QList<TLabelRecord> all;
    ASSERT_TRUE(ReadPaperConfig(paperPath, &all));
    int row = 0;
    for (const TLabelRecord& r : all)
        if (r.Maker == U(u"ヒサゴ")) {
            if (r.Model == "ELM007") break;
            ++row;
        }
    WriteConfig(QString("TYPE=1\r\nP_MAKER=1\r\nP_INDEX=%1\r\n").arg(row));
    const double pitchX = (210 - 20.3 - 18.3 - 83.8), pitchY = (297 - 20.3 - 22.9 - 42.3) / 5;
    for (const LabelCase& c : {LabelCase{3, 1}, LabelCase{13, 2}}) {
        book.clear();
        TFormPrintAddress& f = Show(c.records);
        ASSERT_EQ(f.SelectedLabel()->Model, "ELM007");
        const QString pdf = dir.filePath(QString("labels%1.pdf").arg(c.records));
        ToPdf(f, pdf);
        ASSERT_TRUE(f.PrintAll());
        const PdfInfo info = Info(pdf);
        EXPECT_EQ(info.pages, c.pages);
        EXPECT_NEAR(info.width, 210, 0.5);
        EXPECT_NEAR(info.height, 297, 0.5);
        // Ink read back from the pages: the top-left of each label's ink is its
        // postal code, at the label's corner plus the frame's whole millimetres.
        const PreviewScale s = f.CurrentSetup().FrameScale();
        const double zipLeft = RoundInt((8 + 4) / s.perMm), zipTop = RoundInt((5 + 4) / s.perMm);
        for (int slot = 0; slot < 12 * c.pages; ++slot) {
            const int page = slot / 12, inPage = slot % 12;
            const double labelX = 20.3 + (inPage % 2) * pitchX,
                         labelY = 20.3 + (inPage / 2) * pitchY;
            const std::optional<QPointF> ink =
                InkTopLeft(pdf, page, QRectF(labelX, labelY, 83.8, 42.3));
            if (slot >= c.records) {
                EXPECT_FALSE(ink.has_value()) << "slot " << slot;
                continue;
            }
            ASSERT_TRUE(ink.has_value()) << "slot " << slot;
            EXPECT_NEAR(ink->x(), labelX + zipLeft, 1.0) << "slot " << slot;
            EXPECT_NEAR(ink->y(), labelY + zipTop, 1.5) << "slot " << slot;
        }
        f.ButtonCancelClick();
    }
}

// Each kind asks the printer for its own paper: Qt's Japanese sizes where one
// has exactly the piece's size, the millimetres otherwise, A4 for labels.
TEST(JobPaper, EachKindAsksForThePaperOfItsSize) {
    struct Case {
        int kind;  // 0: a label sheet
        bool landscapeLabel;
        QPageSize::PageSizeId id;
        QPageLayout::Orientation orientation;
        const char16_t* caption;
    };
    const Case cases[] = {
        {1, false, QPageSize::Postcard, QPageLayout::Portrait, u"はがき 100 × 148 mm"},
        {3, false, QPageSize::Postcard, QPageLayout::Portrait, u"はがき 100 × 148 mm"},
        {5, false, QPageSize::Custom, QPageLayout::Portrait, u"119 × 277 mm"},
        {6, false, QPageSize::EnvelopeChou3, QPageLayout::Portrait, u"長形3号 120 × 235 mm"},
        {7, false, QPageSize::EnvelopeChou4, QPageLayout::Portrait, u"長形4号 90 × 205 mm"},
        {8, false, QPageSize::EnvelopeChou3, QPageLayout::Landscape, u"長形3号 235 × 120 mm"},
        {9, false, QPageSize::EnvelopeKaku2, QPageLayout::Portrait, u"角形2号 240 × 332 mm"},
        {10, false, QPageSize::Custom, QPageLayout::Portrait, u"216 × 227 mm"},  // Qt's 角形3号 is 277 long
        {0, false, QPageSize::A4, QPageLayout::Portrait, u"A4 210 × 297 mm"},
        {0, true, QPageSize::A4, QPageLayout::Landscape, u"A4 297 × 210 mm"},
    };
    for (const Case& c : cases) {
        TPrintSettings st;
        st.PostcardIndex = c.kind ? c.kind : 3;
        std::optional<TLabelPaper> label;
        if (!c.kind) {
            st.Type = 1;
            label = TLabelPaper{};
            label->Width = Mm(80), label->Height = Mm(40);
            label->Orientation = c.landscapeLabel ? "1" : "0";
        }
        const TPieceSetup setup = MakePieceSetup(st, label, nullptr);
        const TJobPaper paper = JobPaper(setup);
        EXPECT_EQ(paper.Size.id(), c.id) << c.kind;
        EXPECT_EQ(paper.Orientation, c.orientation) << c.kind;
        EXPECT_EQ(paper.Caption, U(c.caption)) << c.kind;
        // The page the painter gets is the piece (or sheet) as the renderer measures it.
        QSizeF mm = paper.Size.size(QPageSize::Millimeter);
        if (paper.Orientation == QPageLayout::Landscape) mm.transpose();
        const TPaperGeometry g = setup.Geometry();
        EXPECT_NEAR(mm.width(), c.kind ? g.UnitWidth.v : g.SheetWidth.v, 0.05) << c.kind;
        EXPECT_NEAR(mm.height(), c.kind ? g.UnitHeight.v : g.SheetHeight.v, 0.05) << c.kind;
    }
}

TEST_F(PrintDialog, FitsALowScreenWithTheWholePieceInViewAndKeepsItsWidth) {
    TFormPrintAddress& f = Show();
    // 1024 × 768 less a title bar and a panel.
    EXPECT_LE(f.minimumSizeHint().height(), 700);
    EXPECT_LE(f.minimumSizeHint().width(), 1024);
    f.resize(1024, 700);
    const int width = f.sizeHint().width();
    f.SetPreviewZoom(0);  // 全体表示
    for (int kind : {3, 5, 6, 8, 9, 10}) {
        f.SelectPaperKind(kind);
        QCoreApplication::processEvents();
        EXPECT_EQ(f.sizeHint().width(), width) << kind;
        EXPECT_LE(f.PreviewZoom(), 1.0) << kind;
        const QSize shown = f.Preview()->size(), room = f.ScrollPreview->viewport()->size();
        EXPECT_LE(shown.width(), room.width()) << kind;
        EXPECT_LE(shown.height(), room.height()) << kind;
        // The piece as large as the room allows on one side.
        EXPECT_TRUE(shown.width() + 4 >= room.width() || shown.height() + 4 >= room.height() ||
                    f.PreviewZoom() == 1.0)
            << kind;
        // The buttons inside the window.
        for (QWidget* b : {static_cast<QWidget*>(f.Button2), static_cast<QWidget*>(f.ButtonPrint),
                           static_cast<QWidget*>(f.ButtonCancel)})
            EXPECT_TRUE(f.rect().contains(QRect(b->mapTo(&f, QPoint()), b->size()))) << kind;
    }
    f.PCPrintType->setCurrentIndex(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.sizeHint().width(), width);
    EXPECT_TRUE(f.LabelPaper->text().startsWith(U(u"用紙: A4 210 × 297 mm"))) << f.LabelPaper->text().toStdString();

    // At 200 % the piece scrolls, and the mouse still moves frames in preview
    // pixels: 40 screen pixels are 20 of the preview.
    f.PCPrintType->setCurrentIndex(0);
    f.SelectPaperKind(6);
    f.SetPreviewZoom(2.0);
    EXPECT_EQ(f.Preview()->width(), 2 * f.Preview()->Area().Width.v);
    TPreviewWidget* p = f.Preview();
    const PreviewRect add = p->Frames().ADD;
    const QPoint at = p->ToWidget(QPoint(add.left.v + 5, add.top.v + 5));
    QTest::mousePress(p, Qt::LeftButton, {}, at);
    QTest::mouseMove(p, at + QPoint(-40, 40));
    QTest::mouseRelease(p, Qt::LeftButton, {}, at + QPoint(-40, 40));
    EXPECT_EQ(p->Frames().ADD.left.v, add.left.v - 20);
    EXPECT_EQ(p->Frames().ADD.top.v, add.top.v + 20);
}

TEST_F(PrintDialog, ADraggedFrameStaysWithItsKindForTheSession) {
    TFormPrintAddress& f = Show();
    f.SelectPaperKind(3);
    TPreviewWidget* p = f.Preview();
    const PreviewRect nam = p->Frames().NAM;
    const QPoint inside(nam.left.v + 10, nam.top.v + 10);
    QTest::mousePress(p, Qt::LeftButton, {}, inside);
    QTest::mouseMove(p, inside + QPoint(-30, 12));
    QTest::mouseRelease(p, Qt::LeftButton, {}, inside + QPoint(-30, 12));
    const TLayoutFrames dragged = p->Frames();
    ASSERT_NE(dragged, DefaultFrames(3, true));
    // Another kind has its own frames; the labels theirs.
    f.SelectPaperKind(6);
    EXPECT_EQ(p->Frames(), DefaultFrames(6, true));
    f.PCPrintType->setCurrentIndex(1);
    EXPECT_EQ(p->Frames(), DefaultLabelFrames());
    f.PCPrintType->setCurrentIndex(0);
    EXPECT_EQ(p->Frames(), DefaultFrames(6, true));
    f.SelectPaperKind(3);
    EXPECT_EQ(p->Frames(), dragged);
    // Closed and shown again in the same run: the dragged frames are still the kind's.
    f.SelectPaperKind(6);
    f.ButtonCancelClick();
    f.TakeRecords(pointers, senders);
    f.FormShow();
    f.SelectPaperKind(3);
    EXPECT_EQ(p->Frames(), dragged);
    // Saved as the frames of the dialog, as before.
    f.ButtonCancelClick();
    EXPECT_EQ(LoadPrintSettings(configPath).Frames, dragged);
}

TEST_F(PrintDialog, TheDialogNamesThePaperTheJobGoesOn) {
    TFormPrintAddress& f = Show();
    f.SelectPaperKind(3);
    EXPECT_TRUE(f.LabelPaper->text().contains(U(u"100 × 148 mm"))) << f.LabelPaper->text().toStdString();
    f.SelectPaperKind(6);
    EXPECT_TRUE(f.LabelPaper->text().contains(U(u"120 × 235 mm"))) << f.LabelPaper->text().toStdString();
    // The printer setup may change it: the dialog says what it holds now.
    f.SetPrinterSetup([](QPrinter& pr, QWidget*) {
        pr.setPageSize(QPageSize(QPageSize::A5));
        return true;
    });
    f.Button2->click();
    EXPECT_TRUE(f.LabelPaper->text().contains(U(u"148 × 210 mm"))) << f.LabelPaper->text().toStdString();
}

// The same print path into the CUPS queue that cups-print-test.sh starts.
// cups-pdf names its files after the job title, "印刷" as octal UTF-8 bytes;
// other jobs in the shared output folder are left alone.
const QString kJobFiles = QStringLiteral("345_215_260_345_210_267*.pdf");

class CupsQueue : public PrintRun {
protected:
    void SetUp() override {
        PrintRun::SetUp();
        queue = qEnvironmentVariable("Q2_CUPS_QUEUE");
        out = qEnvironmentVariable("Q2_CUPS_OUT");
        pageLog = qEnvironmentVariable("Q2_CUPS_PAGE_LOG");
        wideQueue = qEnvironmentVariable("Q2_CUPS_WIDE_QUEUE");
        if (queue.isEmpty() || out.isEmpty()) GTEST_SKIP() << "run by cups-print-test.sh";
    }
    void ToQueue(TFormPrintAddress& f, const QString& name = {}) {
        f.SetPrinterSetup([this, name](QPrinter& p, QWidget*) {
            p.setOutputFormat(QPrinter::NativeFormat);
            p.setPrinterName(name.isEmpty() ? queue : name);
            return p.isValid();
        });
    }
    void TearDown() override {
        for (const QString& f : written) QFile::remove(f);
    }
    // The PDF cups-pdf writes for a job sent after `since`, once its size
    // stops changing; it is copied away, as cups-pdf reuses file names.
    QString WaitForPdf(const QDateTime& since, const QString& files = kJobFiles) {
        QDeadlineTimer deadline(120000);
        qint64 lastSize = -1;
        while (!deadline.hasExpired()) {
            const QFileInfoList pdfs =
                QDir(out).entryInfoList({files}, QDir::Files, QDir::Time);
            if (!pdfs.isEmpty() && pdfs.first().lastModified() >= since.addSecs(-1) &&
                !written.contains(pdfs.first().filePath())) {
                const QFileInfo& i = pdfs.first();
                // Complete once its size holds and its trailer is written.
                QFile pdf(i.filePath());
                const bool ended = pdf.open(QIODevice::ReadOnly) && pdf.size() > 16 && pdf.seek(pdf.size() - 16) &&
                                   pdf.read(16).contains("%%EOF");
                if (i.size() > 0 && i.size() == lastSize && ended) {
                    written << i.filePath();
                    const QString copy = dir.filePath(QString("queue%1.pdf").arg(written.size()));
                    QFile::copy(i.filePath(), copy);
                    QFile::remove(i.filePath());
                    return copy;
                }
                lastSize = i.size();
            }
            QTest::qWait(300);
        }
        return {};
    }
    // The media page_log records for the newest job ("%p %j %{job-name} %{media} %P").
    QString MediaOfLastJob() {
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            QFile f(pageLog);
            if (f.open(QIODevice::ReadOnly)) {
                const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
                const QList<QByteArray> last = lines.last().split(' ');
                if (last.size() >= 4 && last[1].toInt() > lastJob) {
                    lastJob = last[1].toInt();
                    return QString::fromUtf8(last[3]);
                }
            }
            QTest::qWait(300);
        }
        return {};
    }
    // Every page of `printed` has the size of `direct` and its ink where
    // `direct` has it (Ghostscript rewrites the fonts, so the pages are
    // compared as ink: where it starts, and nearly every inked pixel of one
    // with ink close by in the other).
    void ExpectSameInk(const QString& printed, const QString& direct, int pages, QSizeF mm) {
        const PdfInfo info = Info(printed);
        EXPECT_EQ(info.pages, pages);
        EXPECT_NEAR(info.width, mm.width(), 0.5);
        EXPECT_NEAR(info.height, mm.height(), 0.5);
        for (int page = 0; page < pages; ++page) {
            const QImage a = PageImage(printed, page, 127), b = PageImage(direct, page, 127);
            ASSERT_FALSE(a.isNull());
            ASSERT_FALSE(b.isNull());  // MediaBoxes may differ by a point's rounding
            const int w = std::min(a.width(), b.width()), h = std::min(a.height(), b.height());
            const std::optional<QPointF> ia = InkTopLeft(printed, page, QRectF(QPointF(), mm)),
                                         ib = InkTopLeft(direct, page, QRectF(QPointF(), mm));
            ASSERT_TRUE(ia && ib);
            EXPECT_NEAR(ia->x(), ib->x(), 0.3) << page;
            EXPECT_NEAR(ia->y(), ib->y(), 0.3) << page;
            int ink = 0, far = 0;
            for (int y = 1; y + 1 < h; ++y)
                for (int x = 1; x + 1 < w; ++x) {
                    if (qGray(a.pixel(x, y)) >= 128) continue;
                    ++ink;
                    bool near = false;
                    for (int dy = -1; dy <= 1 && !near; ++dy)
                        for (int dx = -1; dx <= 1 && !near; ++dx)
                            near = qGray(b.pixel(x + dx, y + dy)) < 128;
                    far += !near;
                }
            EXPECT_GT(ink, 500) << page;
            EXPECT_LT(far, ink / 8) << page;  // anti-aliasing differs at the glyph edges, small type most
        }
    }
    QString queue, out, pageLog, wideQueue;
    QStringList written;
    int lastJob = 0;
};

struct QueueCase {
    int kind;
    const char* media;
    QSizeF mm;
};
const QueueCase kQueueCases[] = {
    {3, "Postcard", {100, 148}},  // jpn_hagaki_100x148mm
    {6, "EnvChou3", {120, 235}},  // jpn_chou3_120x235mm
};

TEST_F(CupsQueue, PostcardsEnvelopesAndALabelSheetGoOnTheirOwnPaper) {
    for (const QueueCase& c : kQueueCases) {
        WriteConfig("VERTICAL=0\r\n");
        TFormPrintAddress& f = Show(3);
        f.SelectPaperKind(c.kind);
        ToQueue(f);
        const QDateTime start = QDateTime::currentDateTime();
        ASSERT_TRUE(f.PrintAll());
        const QString printed = WaitForPdf(start);
        ASSERT_FALSE(printed.isEmpty()) << "no PDF from the queue, kind " << c.kind;
        EXPECT_EQ(MediaOfLastJob(), c.media);
        EXPECT_TRUE(f.LabelPaper->text().contains(queue)) << f.LabelPaper->text().toStdString();
        // The same job as a PDF file.
        const QString direct = dir.filePath(QString("direct%1.pdf").arg(c.kind));
        ToPdf(f, direct);
        ASSERT_TRUE(f.PrintAll());
        ExpectSameInk(printed, direct, 3, c.mm);
        f.ButtonCancelClick();
    }

    // Thirteen records on the real ヒサゴ ELM007 (2 × 6): two A4 pages.
    QFile::remove(paperPath);
    ASSERT_TRUE(QFile::copy(Q2_SOURCE_DIR "/data/paper.cfg", paperPath));
    WriteConfig(QString("TYPE=1\r\nP_MAKER=1\r\nP_INDEX=%1\r\n").arg(39));
    book.clear();
    TFormPrintAddress& g = Show(13);
    ASSERT_EQ(g.SelectedLabel()->Model, "ELM007");
    ToQueue(g);
    const QDateTime again = QDateTime::currentDateTime();
    ASSERT_TRUE(g.PrintAll());
    const QString labels = WaitForPdf(again);
    ASSERT_FALSE(labels.isEmpty()) << "no PDF from the queue";
    EXPECT_EQ(MediaOfLastJob(), "A4");
    const QString direct = dir.filePath("direct-labels.pdf");
    ToPdf(g, direct);
    ASSERT_TRUE(g.PrintAll());
    ExpectSameInk(labels, direct, 2, {210, 297});
    const double pitchX = 210 - 20.3 - 18.3 - 83.8, pitchY = (297 - 20.3 - 22.9 - 42.3) / 5;
    const PreviewScale sc = g.CurrentSetup().FrameScale();
    const double zipLeft = RoundInt((8 + 4) / sc.perMm), zipTop = RoundInt((5 + 4) / sc.perMm);
    for (int slot : {0, 1, 11, 12}) {
        const int inPage = slot % 12;
        const double x = 20.3 + (inPage % 2) * pitchX, y = 20.3 + (inPage / 2) * pitchY;
        const std::optional<QPointF> ink = InkTopLeft(labels, slot / 12, QRectF(x, y, 83.8, 42.3));
        ASSERT_TRUE(ink.has_value()) << slot;
        EXPECT_NEAR(ink->x(), x + zipLeft, 1.0) << slot;
        EXPECT_NEAR(ink->y(), y + zipTop, 1.5) << slot;
    }
    EXPECT_FALSE(InkTopLeft(labels, 1, QRectF(20.3 + pitchX, 20.3, 83.8, 42.3)).has_value());
}

TEST_F(CupsQueue, Q2toolPrintSendsTheDialogsJobToTheQueue) {
    // The book and the data folder q2tool reads.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dir.filePath("xdg"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString data = dir.filePath("xdg/Zabelle/Quintaro2");
    QDir().mkpath(data);
    QFile::copy(Q2_SOURCE_DIR "/data/paper.cfg", data + "/paper.cfg");
    {
        QFile f(data + "/config.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[PRINT_CONF]\r\nVERTICAL=0\r\nFONT=IPAPGothic\r\n");
    }
    TUserInfoList list;
    *list.Add() = sample::FamilyOfFive();
    *list.Add() = sample::Midoricho();
    const QString bookPath = dir.filePath("book.QT2");
    ASSERT_TRUE(list.SaveToFile(bookPath));

    int rc = -1;
    const QString names = RunProgram(Q2_TOOL_PATH, {"print", "--list-printers"}, &rc, env);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(names.split('\n').contains(queue)) << names.toStdString();

    struct ToolCase {
        QStringList options;
        const char* media;
        QSizeF mm;
        int pages;
    };
    const ToolCase cases[] = {
        {{"--kind", "3"}, "Postcard", {100, 148}, 2},
        {{"--kind", "6"}, "EnvChou3", {120, 235}, 2},
        {{"--label", U(u"ヒサゴ/ELM007")}, "A4", {210, 297}, 1},
    };
    for (const ToolCase& c : cases) {
        const QDateTime start = QDateTime::currentDateTime();
        const QString said =
            RunProgram(Q2_TOOL_PATH, QStringList{"print", bookPath, "--printer", queue} + c.options, &rc, env);
        ASSERT_EQ(rc, 0) << said.toStdString();
        const QString printed = WaitForPdf(start);
        ASSERT_FALSE(printed.isEmpty()) << said.toStdString();
        EXPECT_EQ(MediaOfLastJob(), c.media);
        const QString direct = dir.filePath("tool-direct.pdf");
        ASSERT_EQ(0, (RunProgram(Q2_TOOL_PATH, QStringList{"print", bookPath, direct, "--force"} + c.options, &rc, env), rc));
        ExpectSameInk(printed, direct, c.pages, c.mm);
    }
    // A queue the system does not have is named.
    const QString said = RunProgram(Q2_TOOL_PATH, {"print", bookPath, "--printer", "NoSuchQueue"}, &rc, env);
    EXPECT_EQ(rc, 1);
    EXPECT_TRUE(said.contains(U(u"プリンタ NoSuchQueue が見つかりません"))) << said.toStdString();
}

TEST_F(CupsQueue, AQueueWithWideMarginsNamesTheDigitsItWouldCut) {
    if (wideQueue.isEmpty()) GTEST_SKIP() << "no wide-margin queue";
    // The printer's 10 mm on every side reach into the last postal digits (they
    // end 8 mm from the card's right edge) and the address beside them.
    WriteConfig("VERTICAL=1\r\n");
    TFormPrintAddress& f = Show(1);
    f.SelectPaperKind(3);
    ToQueue(f, wideQueue);
    std::optional<TMmRect> seen;
    QList<TInkCut> cuts;
    SetBeforePrintCheck([&](QWidget*, const QList<const TUserInfo*>& records, const TPieceSetup& setup) {
        seen = setup.Printable;
        cuts = InkOutsidePrintable(*records[0], setup, 0);
        return false;  // 中止: nothing goes to the printer
    });
    EXPECT_FALSE(f.PrintAll());
    SetBeforePrintCheck(nullptr);
    ASSERT_TRUE(seen.has_value());
    EXPECT_NEAR(seen->left.v, 10, 0.1);
    EXPECT_NEAR(seen->right().v, 90, 0.3);  // the card less 10 mm
    QStringList parts;
    for (const TInkCut& c : cuts) parts << InkPartCaption(c.Part);
    EXPECT_TRUE(parts.contains(U(u"郵便番号"))) << parts.join(',').toStdString();

    // q2tool preflight says the same of the book.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dir.filePath("xdg"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    TUserInfoList list;
    *list.Add() = *book[0];
    ASSERT_TRUE(list.SaveToFile(dir.filePath("wide.QT2")));
    int rc = -1;
    const QString said = RunProgram(
        Q2_TOOL_PATH, {"preflight", dir.filePath("wide.QT2"), "--print", "--kind", "3", "--printer", wideQueue}, &rc,
        env);
    EXPECT_TRUE(said.contains(U(u"printable-area\t郵便番号がプリンタの印刷できる範囲から右に "))) << said.toStdString();

    // The calibration sheet on that printer outlines the area: a dashed line
    // 10 mm in from the left edge, down most of the card.
    const QDateTime start = QDateTime::currentDateTime();
    ASSERT_TRUE(f.PrintCalibrationSheet());
    const QString sheet = WaitForPdf(start, QStringLiteral("350_252_277*.pdf"));  // "調整用シート"
    ASSERT_FALSE(sheet.isEmpty());
    const QImage page = PageImage(sheet, 0, 254);
    ASSERT_FALSE(page.isNull());
    auto darkIn = [&](int x) {
        int dark = 0;
        for (int y = 200; y < 1300; ++y) dark += qGray(page.pixel(x, y)) < 128;
        return dark;
    };
    int line = 0;
    for (int x = 96; x <= 104; ++x) line = std::max(line, darkIn(x));
    EXPECT_GT(line, 400);  // dashes: about half the run
    EXPECT_LT(darkIn(60), 100);
    f.ButtonCancelClick();
}

TEST_F(CupsQueue, AnOffsetSetInTheDialogMovesWhatThePrinterPrints) {
    // A postcard and a 長形3号 envelope: the queue's page against a PDF of the
    // same job without the offset; every page's ink moves by the offset.
    for (const int kind : {3, 6}) {
        WriteConfig("VERTICAL=1\r\n");
        TFormPrintAddress& f = Show(1);
        f.SelectPaperKind(kind);
        f.SpinOffsetX->setValue(1.0);
        f.SpinOffsetY->setValue(-0.5);
        ToQueue(f);
        const QDateTime start = QDateTime::currentDateTime();
        ASSERT_TRUE(f.PrintAll());
        const QString moved = WaitForPdf(start);
        ASSERT_FALSE(moved.isEmpty()) << "no PDF from the queue, kind " << kind;
        // The same job without the offset, as a PDF.
        f.SpinOffsetX->setValue(0);
        f.SpinOffsetY->setValue(0);
        const QString plain = dir.filePath(QString("plain%1.pdf").arg(kind));
        ToPdf(f, plain);
        ASSERT_TRUE(f.PrintAll());
        const PdfInfo info = Info(moved);
        const std::optional<QPointF> a = InkTopLeft(moved, 0, QRectF(0, 0, info.width, info.height)),
                                     b = InkTopLeft(plain, 0, QRectF(0, 0, info.width, info.height));
        ASSERT_TRUE(a && b) << kind;
        EXPECT_NEAR(a->x() - b->x(), 1.0, 0.3) << kind;
        EXPECT_NEAR(a->y() - b->y(), -0.5, 0.3) << kind;
        f.ButtonCancelClick();
    }

    // The ヒサゴ ELM007 sheet with its own offset: the first label's postal
    // code moves by it.
    QFile::remove(paperPath);
    ASSERT_TRUE(QFile::copy(Q2_SOURCE_DIR "/data/paper.cfg", paperPath));
    WriteConfig(QString("TYPE=1\r\nP_MAKER=1\r\nP_INDEX=%1\r\n").arg(39));
    book.clear();
    TFormPrintAddress& g = Show(1);
    ASSERT_EQ(g.SelectedLabel()->Model, "ELM007");
    g.SpinOffsetX->setValue(-1.5);
    g.SpinOffsetY->setValue(2.0);
    ToQueue(g);
    const QDateTime again = QDateTime::currentDateTime();
    ASSERT_TRUE(g.PrintAll());
    const QString moved = WaitForPdf(again);
    ASSERT_FALSE(moved.isEmpty()) << "no PDF from the queue";
    g.SpinOffsetX->setValue(0);
    g.SpinOffsetY->setValue(0);
    const QString plain = dir.filePath("plain-label.pdf");
    ToPdf(g, plain);
    ASSERT_TRUE(g.PrintAll());
    const QRectF firstLabel(15, 15, 95, 52);
    const std::optional<QPointF> a = InkTopLeft(moved, 0, firstLabel), b = InkTopLeft(plain, 0, firstLabel);
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->x() - b->x(), -1.5, 0.4);
    EXPECT_NEAR(a->y() - b->y(), 2.0, 0.4);
}

}  // namespace
