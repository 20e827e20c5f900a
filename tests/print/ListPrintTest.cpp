// The address list print at 600 dpi: rows per page, page count, column
// widths, clipping, rules and page numbers, read back from PDF and images.
#include <QImage>
#include <QPainter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/Cp932.h"
#include "print/ListPrint.h"
#include "tests/support/FieldSamples.h"

using namespace q2;

namespace {

QString U(const char16_t* s) {
    return QString::fromUtf16(s);
}

struct Word {
    double xMin, yMin, xMax, yMax;
    QString text;
};

// pdftotext -bbox of one page: every word with its box in points.
QList<Word> Words(const QString& pdf, int page) {
    QProcess p;
    p.start("pdftotext",
            {"-bbox", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        out.append({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                    m.captured(4).toDouble(), m.captured(5)});
    }
    return out;
}

int PdfPages(const QString& pdf) {
    QProcess p;
    p.start("pdfinfo", {pdf});
    p.waitForFinished(60000);
    static const QRegularExpression re(R"(Pages:\s+(\d+))");
    const auto m = re.match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

double PxToPt(int px) {
    return px * 72.0 / 600;
}

// Records named R000, R001, …, with every column of type 1 filled.
std::vector<TUserInfo> MakeRecords(int n, bool marked = true) {
    std::vector<TUserInfo> v(n);
    for (int i = 0; i < n; ++i) {
        TUserInfo& r = v[i];
        r.PerSonalName_1 = QStringLiteral("R%1").arg(i, 3, 10, QLatin1Char('0'));
        r.PerSonalName_2 = U(u"様");
        r.PerSonalTel_1 = QStringLiteral("03-1234-5678");
        r.PerSonalZip_1 = QStringLiteral("100");
        r.PerSonalZip_2 = QStringLiteral("0001");
        r.PerSonalAddress_1 = U(u"東京都千代田区");
        r.CommonPrintCheck = marked;
    }
    return v;
}

TListRecords Pointers(const std::vector<TUserInfo>& v) {
    TListRecords out;
    for (const TUserInfo& r : v) out.push_back(&r);
    return out;
}

int CountNames(const QList<Word>& words) {
    int n = 0;
    static const QRegularExpression name(R"(^R\d{3}$)");
    for (const Word& w : words)
        if (name.match(w.text).hasMatch()) ++n;
    return n;
}

TListPageSetup Portrait600() {
    TListPageSetup s = A4ListSetup(Dpi{600, 600}, false);
    s.Type = 1;
    return s;
}

}  // namespace

TEST(ListGeometry, A4At600DpiHas82RowsBesidesTheHeader) {
    const TListPageSetup s = Portrait600();
    EXPECT_EQ(s.PaperWidth.v, 4961);
    EXPECT_EQ(s.PaperHeight.v, 7016);
    const TPrintFont font = ListPrintFont(Dpi{600, 600});
    ASSERT_TRUE(font.IsValid());
    EXPECT_EQ(TextHeight(font, u"A").v, 67);
    const TListGeometry g = ListGeometry(font, s);
    EXPECT_EQ(g.RowsPerPage, 82);  // (7016 − 1200) / 71 = 81.9
    EXPECT_EQ(g.Pitch.v, 69);
    EXPECT_EQ(g.Left.v, 600);
    EXPECT_EQ(g.Top.v, 600);
    EXPECT_EQ(g.Right.v, 4961 - 600);
    EXPECT_EQ(g.Bottom.v, 7016 - 600);
    EXPECT_EQ(g.RowTop(2).v, 600 + 2 * 69);
    EXPECT_EQ(g.Indent, MeasureWidth(font, u"a"));
}

TEST(ListGeometry, RowsPerPageRoundHalvesToEven) {
    // At 360 dpi the cell is 40 pixels, so a row of the count is 44 and a
    // usable height of 44k + 22 lands exactly on a half.
    struct Case {
        int usable, rows;
    };
    const Case cases[] = {{44 * 10 + 22, 10},
                          {44 * 11 + 22, 12},
                          {44 * 10 + 21, 10},
                          {44 * 10 + 23, 11},
                          {21, 0},
                          {0, 0},
                          {-500, 0}};
    const TPrintFont font = ListPrintFont(Dpi{360, 360});
    ASSERT_EQ(TextHeight(font, u"A").v, 40);
    for (const Case& c : cases) {
        TListPageSetup s;
        s.Resolution = Dpi{360, 360};
        s.PaperWidth = DevicePx(3000);
        s.PaperHeight = DevicePx(720 + c.usable);
        EXPECT_EQ(ListGeometry(font, s).RowsPerPage, c.rows) << c.usable;
    }
}

TEST(ListPageCount, RoundsUpAndIsZeroWhenNothingFits) {
    struct Case {
        int marked, rows, pages;
    };
    const Case cases[] = {{0, 82, 0},   {1, 82, 1},   {82, 82, 1}, {83, 82, 2},
                          {164, 82, 2}, {165, 82, 3}, {5, 0, 0},   {5, -1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ListPageCount(c.marked, c.rows), c.pages) << c.marked << "/" << c.rows;
}

TEST(ListColumns, EveryTypeStartsWithTheNameAndOtherNumbersHaveNone) {
    const size_t counts[] = {11, 5, 7, 8, 6};
    for (int t = 1; t <= kListTypeCount; ++t) {
        ASSERT_EQ(ListTypeColumns(t).size(), counts[t - 1]) << t;
        EXPECT_EQ(ListTypeColumns(t).front(), TListColumn::Name);
        EXPECT_TRUE(ListTypeCaption(t).startsWith(U(u" 名前｜")));
    }
    EXPECT_TRUE(ListTypeColumns(0).empty());
    EXPECT_TRUE(ListTypeColumns(6).empty());
}

TEST(ListColumns, UseAndMemoValues) {
    TUserInfo r;
    r.CommonUseTypePersonal = true;
    r.CommonMemo = U(u"一行目\r\n二行目\n三行目\r");
    EXPECT_EQ(ListColumnValue(TListColumn::Use, r), U(u"個人用"));
    r.CommonUseTypePersonal = false;
    EXPECT_EQ(ListColumnValue(TListColumn::Use, r), U(u"会社用"));
    EXPECT_EQ(ListColumnValue(TListColumn::Memo, r), U(u"一行目二行目三行目"));
}

TEST(ListColumns, EveryColumnsTitlesAndValue) {
    using C = TListColumn;
    struct Column {
        TListColumn column;
        const char16_t* title;
        const char16_t* measuring;
        const char16_t* value;
    };
    const Column columns[] = {
        {C::Name, u"名前", u"名前　", u"山田 太郎"},
        {C::PrivateTel, u"電話", u"電話1　", u"043-111"},
        {C::PrivateTelFax, u"電話/FAX", u"電話2　", u"043-222"},
        {C::PrivateZip, u"〒", u"〒　", u"263-0023"},
        {C::PrivateAddress1, u"住所1", u"住所1　", u"千葉県千葉市稲毛区"},
        {C::PrivateAddress2, u"住所2", u"住所2　", u"緑町1-1"},
        {C::JointName1, u"連名1", u"連名1　", u"一郎"},
        {C::JointName2, u"連名2", u"連名2　", u"花子"},
        {C::JointName3, u"連名3", u"連名3　", u"次郎"},
        {C::JointName4, u"連名4", u"連名4　", u"三郎"},
        {C::Category1, u"分類1", u"分類1　", u"友達"},
        {C::Category2, u"分類2", u"分類2　", u"仕事"},
        {C::Use, u"用途", u"用途　", u"会社用"},
        {C::Memo, u"備考", u"その他　", u"一行目二行目"},
        {C::Company, u"会社名", u"会社名　", u"緑商事"},
        {C::Department, u"部署名", u"部署名　", u"営業部"},
        {C::Position, u"役職名", u"役職名　", u"課長"},
        {C::OfficeTel, u"会社電話", u"会社電話1　", u"03-333"},
        {C::OfficeTelFax, u"会社電話/FAX", u"会社電話2　", u"03-444"},
        {C::OfficeMail, u"会社ﾒｰﾙ", u"会社ﾒｰﾙ　", u"c@work.jp"},
        {C::OfficeZip, u"会社〒", u"会社〒　", u"100-0005"},
        {C::OfficeAddress1, u"会社住所1", u"会社住所1　", u"東京都千代田区"},
        {C::OfficeAddress2, u"会社住所2", u"会社住所2　", u"丸の内1-1"},
    };
    const TUserInfo r = q2test::DistinctRecord();
    for (const Column& c : columns) {
        const int n = static_cast<int>(c.column);
        EXPECT_EQ(ListColumnTitle(c.column), U(c.title)) << n;
        EXPECT_EQ(ListColumnMeasuringTitle(c.column), U(c.measuring)) << n;
        EXPECT_EQ(ListColumnValue(c.column, r), U(c.value)) << n;
    }
}

TEST(ListColumnWidths, TitlesFirstThenWiderValuesOfEveryRecordPlusOneCharacter) {
    const TPrintFont font = ListPrintFont(Dpi{600, 600});
    std::vector<TUserInfo> v = MakeRecords(2);
    v[1].CommonPrintCheck = false;
    v[1].PerSonalName_1 = U(u"長い長い長い長い名前の人");
    v[1].CommonUseTypePersonal = true;
    const TListRecords all = Pointers(v);
    const std::vector<DevicePx> w = ListColumnWidths(font, 2, all);
    ASSERT_EQ(w.size(), 5u);
    // The unmarked record widens the name column: its name and "あ".
    EXPECT_EQ(w[0], MeasureWidth(font, v[1].PersonalFullName() + U(u"あ")));
    // Empty categories leave the measuring titles.
    EXPECT_EQ(w[1], MeasureWidth(font, U(u"分類1　")));
    // The use column is measured with "会社用" whatever the record holds; as
    // wide as "用途　", it would touch the next rule and so widens the column.
    ASSERT_GE(MeasureWidth(font, U(u"a会社用")), MeasureWidth(font, U(u"用途　")));
    EXPECT_EQ(w[3], MeasureWidth(font, U(u"会社用あ")));
    EXPECT_EQ(w[4], MeasureWidth(font, U(u"その他　")));
    // A printed title wider than its measuring title keeps its own width, so
    // that the header's titles never run into each other.
    const std::vector<DevicePx> five = ListColumnWidths(font, 5, {});
    ASSERT_GT(MeasureWidth(font, U(u"会社電話/FAX　")), MeasureWidth(font, U(u"会社電話2　")));
    EXPECT_EQ(five[5], MeasureWidth(font, U(u"会社電話/FAX　")));
    EXPECT_EQ(five[2],
              std::max(MeasureWidth(font, U(u"電話/FAX　")), MeasureWidth(font, U(u"電話2　"))));
    // Without the unmarked record the column stays narrower.
    EXPECT_LT(ListColumnWidths(font, 2, {all[0]})[0], w[0]);
    // Every title and every value ends left of its column's right rule.
    v[0].PerSonalTel_1 = U(u"電話1　");  // exactly its measuring title
    const DevicePx indent = MeasureWidth(font, u"a");
    for (int t = 1; t <= kListTypeCount; ++t) {
        const std::vector<TListColumn>& columns = ListTypeColumns(t);
        const std::vector<DevicePx> widths = ListColumnWidths(font, t, all);
        for (size_t c = 0; c < columns.size(); ++c) {
            EXPECT_LT(indent + MeasureWidth(font, ListColumnTitle(columns[c])), widths[c])
                << t << c;
            for (const TUserInfo* r : all)
                EXPECT_LT(indent + MeasureWidth(font, ListColumnValue(columns[c], *r)), widths[c])
                    << t << "/" << c;
        }
    }
}

TEST(DrawClippedText, CutsAtTheLastWholeCharacterBeforeTheRightMargin) {
    const TPrintFont font = ListPrintFont(Dpi{600, 600});
    const DevicePx indent = MeasureWidth(font, u"a");
    const QString text = U(u"ab東京都千代田区丸の内ｱｲｳ1丁目");
    const DevicePx x(1000);
    for (int room = 0; room < MeasureWidth(font, text).v + 2 * indent.v + 10; room += 7) {
        const DevicePx right = x + DevicePx(room);
        const QString part = ClippedText(font, x, right, text);
        ASSERT_TRUE(text.startsWith(part));
        if (!part.isEmpty()) {
            EXPECT_LT((x + MeasureWidth(font, part) + indent).v, right.v) << room;
        }
        if (part.size() < text.size()) {
            EXPECT_GE((x + MeasureWidth(font, text.left(part.size() + 1)) + indent).v, right.v)
                << room;
        }
        // In the file's encoding the cut never leaves half a double-byte character.
        const QByteArray bytes = EncodeCp932(part), whole = EncodeCp932(text);
        ASSERT_TRUE(whole.startsWith(bytes));
        int i = 0;
        while (i < bytes.size()) i += IsCp932LeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        EXPECT_EQ(i, bytes.size()) << room;
    }
    // A character outside the basic plane is kept or dropped whole.
    const QString pair = U(u"a") + QString::fromUcs4(U"\U00020BB7", 1);
    const QString cut =
        ClippedText(font, x, x + indent + MeasureWidth(font, u"a") + DevicePx(1), pair);
    EXPECT_EQ(cut, U(u"a"));
}

class ListPdf : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Pdf(const QString& name) { return dir.filePath(name); }
};

TEST_F(ListPdf, EightyThreeMarkedRecordsGiveTwoPagesTheSecondWithOne) {
    std::vector<TUserInfo> v = MakeRecords(90);
    // Unmarked records between the marked ones are skipped, not counted.
    for (int i : {3, 40, 85, 86, 87, 88, 89}) v[i].CommonPrintCheck = false;
    const QString pdf = Pdf("list.pdf");
    ASSERT_EQ(WriteListPdf(pdf, Pointers(v), Portrait600()), 2);
    ASSERT_EQ(PdfPages(pdf), 2);
    const QList<Word> p1 = Words(pdf, 1), p2 = Words(pdf, 2);
    EXPECT_EQ(CountNames(p1), 82);
    EXPECT_EQ(CountNames(p2), 1);
    for (const Word& w : p1) EXPECT_NE(w.text, "R003");
    // The last marked record opens the second page in its first row.
    const TListGeometry g = ListGeometry(ListPrintFont(Dpi{600, 600}), Portrait600());
    bool found = false;
    for (const Word& w : p2)
        if (w.text == "R084") {
            found = true;
            EXPECT_NEAR(w.yMin, PxToPt(g.RowTop(1).v + 1), 1.5);
            EXPECT_NEAR(w.xMin, PxToPt(g.Left.v + g.Indent.v), 0.5);
        }
    EXPECT_TRUE(found);
    // The header is on both pages, once.
    for (const auto& page : {p1, p2}) {
        int titles = 0;
        for (const Word& w : page) titles += w.text == U(u"名前") ? 1 : 0;
        EXPECT_EQ(titles, 1);
    }
}

TEST_F(ListPdf, NoMarkedRecordGivesNoPageAndNoFile) {
    const std::vector<TUserInfo> v = MakeRecords(3, false);
    EXPECT_EQ(WriteListPdf(Pdf("none.pdf"), Pointers(v), Portrait600()), 0);
    EXPECT_FALSE(QFile::exists(Pdf("none.pdf")));
}

TEST_F(ListPdf, UnwritableFileIsReported) {
    const std::vector<TUserInfo> v = MakeRecords(1);
    QString error;
    EXPECT_EQ(WriteListPdf(dir.filePath("missing/list.pdf"), Pointers(v), Portrait600(), &error),
              -1);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(ListPdf, UnmarkedRecordsWidenColumnsButAreNotPrinted) {
    std::vector<TUserInfo> v = MakeRecords(2);
    const QString pdfNarrow = Pdf("narrow.pdf");
    ASSERT_EQ(WriteListPdf(pdfNarrow, {&v[0]}, Portrait600()), 1);
    v[1].CommonPrintCheck = false;
    v[1].PerSonalName_1 = QStringLiteral("UNMARKEDWITHAVERYLONGNAME");
    const QString pdfWide = Pdf("wide.pdf");
    ASSERT_EQ(WriteListPdf(pdfWide, Pointers(v), Portrait600()), 1);
    auto xOf = [](const QList<Word>& words, const QString& text) {
        for (const Word& w : words)
            if (w.text == text) return w.xMin;
        return -1.0;
    };
    const QList<Word> narrow = Words(pdfNarrow, 1), wide = Words(pdfWide, 1);
    EXPECT_EQ(xOf(wide, "UNMARKEDWITHAVERYLONGNAME"), -1.0);
    EXPECT_EQ(CountNames(wide), 1);
    EXPECT_GT(xOf(wide, "03-1234-5678"), xOf(narrow, "03-1234-5678") + 50);
    EXPECT_NEAR(xOf(wide, "R000"), xOf(narrow, "R000"), 0.01);
}

TEST_F(ListPdf, PageNumbersCentredOnTheBottomMarginLine) {
    const std::vector<TUserInfo> v = MakeRecords(83);
    const QString pdf = Pdf("numbers.pdf");
    TListPageSetup s = Portrait600();
    ASSERT_EQ(WriteListPdf(pdf, Pointers(v), s), 2);
    const TPrintFont font = ListPrintFont(Dpi{600, 600});
    const TListGeometry g = ListGeometry(font, s);
    for (int page = 1; page <= 2; ++page) {
        const QList<Word> words = Words(pdf, page);
        // "- 1 -" comes back as three words on the bottom margin line.
        QList<Word> line;
        for (const Word& w : words)
            if (w.yMin > PxToPt(g.Bottom.v) - 1) line << w;
        ASSERT_EQ(line.size(), 3) << page;
        EXPECT_EQ(line[0].text + " " + line[1].text + " " + line[2].text,
                  ListPageNumberText(page - 1));
        EXPECT_EQ(line[1].text, QString::number(page));
        const int textWidth = MeasureWidth(font, ListPageNumberText(page - 1)).v;
        const int left = 4961 / 2 - textWidth / 2 + g.Indent.v;
        EXPECT_NEAR(line[0].xMin, PxToPt(left), 0.5);
        EXPECT_NEAR(line[2].xMax, PxToPt(left + textWidth), 1.0);
        EXPECT_NEAR(line[1].yMin, PxToPt(g.Bottom.v + 1), 1.5);
    }
    s.PageNumbers = false;
    ASSERT_EQ(WriteListPdf(pdf, Pointers(v), s), 2);
    for (const Word& w : Words(pdf, 1))
        EXPECT_LT(w.yMin, PxToPt(g.Bottom.v) - 1) << w.text.toStdString();
}

TEST_F(ListPdf, ValueAtTheRightMarginIsCutInThePrint) {
    // The memo, the last column of type 2, runs into the right margin and
    // stops at the last character that fits.
    std::vector<TUserInfo> v = MakeRecords(1);
    v[0].CommonMemo =
        U(u"ｱ会員番号123の方は年末年始の挨拶状を毎年十二月の第一週に送ること。"
          u"住所変更の連絡があった場合は必ず台帳も更新すること。");
    TListPageSetup s = Portrait600();
    s.Type = 2;
    const QString pdf = Pdf("clip.pdf");
    ASSERT_EQ(WriteListPdf(pdf, Pointers(v), s), 1);
    const TListJob job = MakeListJob(Pointers(v), s);
    DevicePx x = job.Geometry.Left;
    for (int c = 0; c < 4; ++c) x += job.Widths[c];
    const QString expected = ClippedText(job.Font, x, job.Geometry.Right, v[0].CommonMemo);
    ASSERT_LT(expected.size(), v[0].CommonMemo.size());
    ASSERT_GT(expected.size(), 5);
    bool found = false;
    for (const Word& w : Words(pdf, 1))
        if (w.text == expected) {
            found = true;
            EXPECT_NEAR(w.xMin, PxToPt(x.v + job.Geometry.Indent.v), 0.5);
            EXPECT_LT(w.xMax, PxToPt(job.Geometry.Right.v));
        }
    EXPECT_TRUE(found) << expected.toStdString();
}

namespace {

QImage RenderPage(const TListJob& job) {
    QImage image(job.Setup.PaperWidth.v, job.Setup.PaperHeight.v, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image);
    DrawListPage(p, job, 0, 0);
    return image;
}

bool Dark(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

}  // namespace

TEST(DrawListPage, RulesOffDrawNoLineAndLeaveTheTextWhereItWas) {
    const std::vector<TUserInfo> v = MakeRecords(3);
    TListPageSetup s = A4ListSetup(Dpi{200, 200}, true);
    s.Type = 4;
    const TListJob on = MakeListJob(Pointers(v), s);
    s.Rules = false;
    const TListJob off = MakeListJob(Pointers(v), s);
    const QImage withRules = RenderPage(on), without = RenderPage(off);
    const TListGeometry& g = on.Geometry;
    // The left rule and the top rule of the header.
    for (int y = g.RowTop(0).v; y < g.RowTop(4).v; ++y) {
        EXPECT_TRUE(Dark(withRules, g.Left.v, y)) << y;
        EXPECT_FALSE(Dark(without, g.Left.v, y)) << y;
    }
    for (int x = g.Left.v; x <= g.Right.v; ++x) {
        EXPECT_TRUE(Dark(withRules, x, g.RowTop(0).v)) << x;
        EXPECT_FALSE(Dark(without, x, g.RowTop(0).v)) << x;
    }
    // Below the last row nothing but the page number.
    for (int x = 0; x < without.width(); ++x) EXPECT_FALSE(Dark(withRules, x, g.RowTop(4).v + 1));
    // Rules off: every dark pixel of the page is one of the rules-on page.
    int onlyOff = 0, text = 0;
    for (int y = 0; y < without.height(); ++y)
        for (int x = 0; x < without.width(); ++x)
            if (Dark(without, x, y)) {
                ++text;
                if (!Dark(withRules, x, y)) ++onlyOff;
            }
    EXPECT_GT(text, 100);
    EXPECT_EQ(onlyOff, 0);
}

TEST(Q2ToolPrintList, PrintsTheSampleBookAndRefusesBadInput) {
    QTemporaryDir dir;
    auto run = [&](const QStringList& args, QString* out = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", dir.path());
        p.setProcessEnvironment(env);
        p.start(Q2_TOOL_PATH, args);
        p.waitForFinished(60000);
        if (out) *out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitCode();
    };
    const QString book = Q2_SOURCE_DIR "/data/sample.QT2", pdf = dir.filePath("list.pdf");
    QString out;
    ASSERT_EQ(
        run({"print-list", book, pdf, "--type", "3", "--portrait", "--no-page-numbers"}, &out), 0)
        << out.toStdString();
    ASSERT_EQ(PdfPages(pdf), 1);
    const QList<Word> words = Words(pdf, 1);
    ASSERT_FALSE(words.isEmpty());
    EXPECT_EQ(words.front().text, U(u"名前"));
    bool company = false;
    for (const Word& w : words) company = company || w.text == U(u"会社名");
    EXPECT_TRUE(company);
    // The marked people in 50音 order of their readings, as the list opens,
    // also from a book holding them in reverse (as a save leaves them).
    QProcess dump;
    dump.start(Q2_TOOL_PATH, {"dump", book});
    ASSERT_TRUE(dump.waitForFinished(60000));
    QJsonObject json = QJsonDocument::fromJson(dump.readAllStandardOutput()).object();
    QJsonArray reversed;
    for (const QJsonValue& r : json["records"].toArray()) reversed.prepend(r);
    json["records"] = reversed;
    const QString backwards = dir.filePath("backwards.QT2");
    QProcess create;
    create.start(Q2_TOOL_PATH, {"create", backwards});
    create.write(QJsonDocument(json).toJson());
    create.closeWriteChannel();
    ASSERT_TRUE(create.waitForFinished(60000));
    ASSERT_EQ(create.exitCode(), 0) << create.readAllStandardError().toStdString();
    ASSERT_EQ(run({"print-list", backwards, pdf, "--type", "3", "--portrait", "--force"}, &out), 0);
    const QStringList marked = {U(u"加藤"), U(u"木村"), U(u"佐藤"), U(u"鈴木"),
                                U(u"中村"), U(u"松本"), U(u"山田")};
    QStringList names;
    for (const Word& w : Words(pdf, 1))
        if (marked.contains(w.text) && !names.contains(w.text)) names << w.text;
    EXPECT_EQ(names, marked);
    // Landscape by default: the header's baseline is the same, the page wider.
    ASSERT_EQ(run({"print-list", book, pdf, "--force"}), 0);
    const QList<Word> wide = Words(pdf, 1);
    ASSERT_FALSE(wide.isEmpty());
    EXPECT_NEAR(wide.front().yMin, words.front().yMin, 0.01);

    EXPECT_EQ(run({"print-list", book, pdf, "--type", "6"}, &out), 2);
    EXPECT_TRUE(out.contains("--type")) << out.toStdString();
    EXPECT_EQ(run({"print-list", dir.filePath("none.QT2"), pdf}, &out), 1);
    EXPECT_TRUE(out.contains(U(u"が見つかりません"))) << out.toStdString();
}
