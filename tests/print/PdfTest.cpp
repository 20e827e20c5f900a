// PDF output read back with poppler, and q2tool print/preview end to end.
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "model/UserInfoList.h"
#include "print/PieceRenderer.h"
#include "print/PostalCodeBoxes.h"
#include "tests/print/SampleRecords.h"

using namespace q2;

namespace {

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
    double xMin, yMin, xMax, yMax;
    QString text;
};

// pdftotext -bbox: every word with its box in points.
QList<Word> Words(const QString& pdf) {
    const QString html = RunProgram("pdftotext", {"-bbox", pdf, "-"});
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

double PtToMm(double pt) { return pt * 25.4 / 72; }

}  // namespace

TEST(PdfOutput, PostalDigitsLandInTheBoxesAndOnePagePerCard) {
    QTemporaryDir dir;
    const QString path = dir.filePath("cards.pdf");
    TPrintSettings st;
    st.Vertical = false;
    st.Frames = DefaultFrames(3, false);
    const TPieceSetup setup = MakePieceSetup(st, std::nullopt, nullptr);
    const TUserInfo a = sample::FamilyOfFive(), b = sample::Midoricho();
    {
        QPdfWriter pdf(path);
        pdf.setResolution(600);
        pdf.setPageLayout(JobPageLayout(setup));
        QPainter p(&pdf);
        EXPECT_EQ(PrintPieces(p, pdf, {&a, &b}, setup, Dpi{600, 600}), 2);
    }
    EXPECT_TRUE(RunProgram("pdfinfo", {path}).contains(QRegularExpression("Pages:\\s+2")));
    const QList<Word> words = Words(path);
    // 123-4567 on the first page: each digit's cell centred on its box.
    QList<Word> digits;
    for (const Word& w : words)
        if (w.text.size() == 1 && w.text[0].isDigit() && PtToMm(w.yMin) < 25) digits << w;
    ASSERT_GE(digits.size(), 7);
    const std::array<TMmRect, 7> boxes = JapanPostBoxes(Mm(100));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(digits[i].text, QString::number(i + 1));
        // The cell, not the ink ("1" stands left of its cell's middle).
        EXPECT_NEAR(PtToMm(digits[i].xMin + digits[i].xMax) / 2, boxes[i].Centre().x.v, 0.3) << i;
        EXPECT_GT(PtToMm(digits[i].yMax), boxes[i].Centre().y.v) << i;
        EXPECT_LT(PtToMm(digits[i].yMin), boxes[i].Centre().y.v) << i;
    }
    // Horizontal address text reads back.
    bool found = false;
    for (const Word& w : words) found = found || w.text.contains(QString::fromUtf16(u"東京都港区芝公園"));
    EXPECT_TRUE(found);
    // One embedded subset per face for the glyphs and one for the text layer,
    // whatever the sizes.
    const QString fonts = RunProgram("pdffonts", {path});
    EXPECT_EQ(fonts.count("Q2InkIPAPGothic"), 1) << fonts.toStdString();
    EXPECT_EQ(fonts.count("IPAPGothic"), 2) << fonts.toStdString();
}

TEST(Q2Tool, PrintAndPreviewFromABook) {
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    QDir().mkpath(dir.filePath("data/Zabelle/Quintaro2"));
    TUserInfoList book;
    *book.Add() = sample::FamilyOfFive();
    *book.Add() = sample::Midoricho();
    TUserInfo unmarked = sample::Office(0);
    unmarked.CommonPrintCheck = false;
    *book.Add() = unmarked;
    const QString bookPath = dir.filePath("book.QT2");
    ASSERT_TRUE(book.SaveToFile(bookPath));
    int rc = -1;
    const QString out = RunProgram(Q2_TOOL_PATH, {"print", bookPath, dir.filePath("out.pdf"), "--barcode", "--dpi", "300"}, &rc, env);
    EXPECT_EQ(rc, 0) << out.toStdString();
    EXPECT_TRUE(RunProgram("pdfinfo", {dir.filePath("out.pdf")}).contains(QRegularExpression("Pages:\\s+2")));
    RunProgram(Q2_TOOL_PATH, {"preview", bookPath, "1", dir.filePath("p.png"), "--kind", "6"}, &rc, env);
    EXPECT_EQ(rc, 0);
    QImage img(dir.filePath("p.png"));
    EXPECT_EQ(img.size(), QSize(230, 450));  // the dialog's preview of 長形3号
    RunProgram(Q2_TOOL_PATH, {"print", bookPath, dir.filePath("x.pdf"), "--kind", "11"}, &rc, env);
    EXPECT_EQ(rc, 2);
    RunProgram(Q2_TOOL_PATH, {"print", bookPath, dir.filePath("x.pdf"), "--label", "No/Such"}, &rc, env);
    EXPECT_EQ(rc, 1);
}
