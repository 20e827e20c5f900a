// Takes the print dialog's screenshots for docs/screenshots at 1024 × 768: a
// vertical 年賀 postcard with joint names and the sender, an office record in
// mode 3 on 長形3号, and a label sheet; each with a frame selected and the
// whole piece in view. Not a test.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "print/FormPrintAddress.h"
#include "tests/print/SampleRecords.h"
#include "tests/support/Screenshot.h"

namespace {

using namespace q2;

// A press and release inside the frame: it is selected and its squares show.
void SelectFrame(TFormPrintAddress& f, const PreviewRect& r) {
    const QPoint p = f.Preview()->ToWidget(QPoint(r.left.v + r.width.v / 2, r.top.v + r.height.v / 2));
    QTest::mousePress(f.Preview(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(f.Preview(), Qt::LeftButton, {}, p);
}

bool Shoot(TFormPrintAddress& f, const QString& path) { return q2test::ShootWidget(f, path, 100); }

void WriteConfig(const QString& path, const QString& keys) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(("[PRINT_CONF]\r\nFONT=IPAPGothic\r\n" + keys).toUtf8());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(out);
    QTemporaryDir data;
    const QString config = data.filePath("config.ini");
    const QString paper = Q2_SOURCE_DIR "/data/paper.cfg";

    TSenderInfoList senders;
    *senders.Add() = sample::PrivateSender();
    *senders.Add() = sample::OfficeSender();
    while (senders.Count() < TSenderInfoList::kSenderCount) senders.Add();
    TUserInfo family = sample::FamilyOfFive(), office = sample::Office(3),
              midori = sample::Midoricho();
    std::vector<TUserInfo*> records{&family, &office, &midori};

    TFormPrintAddress f;
    f.SetDataFiles(paper, config);
    f.resize(1024, 768);
    bool ok = true;

    WriteConfig(config, "TYPE=0\r\nPOSTCARD_INDEX=3\r\nVERTICAL=1\r\nPRINT_SENDER=1\r\n");
    f.TakeRecords(records, senders);
    f.FormShow();
    f.show();
    if (!QTest::qWaitForWindowExposed(&f)) return 1;
    SelectFrame(f, f.Preview()->Frames().NAM);
    ok = Shoot(f, out + "/print-nenga-vertical.png") && ok;

    WriteConfig(
        config,
        "TYPE=0\r\nPOSTCARD_INDEX=6\r\nVERTICAL=1\r\nSPRINT_CONTROL=3\r\nPRINT_COSTOM=1\r\n");
    f.FormShow();
    f.SetFrames(DefaultFrames(6, true));
    f.SelectPrintRow(1);
    SelectFrame(f, f.Preview()->Frames().ADD);
    ok = Shoot(f, out + "/print-office-tyou3.png") && ok;

    // ヒサゴ ELM007, 2 × 6 on A4.
    WriteConfig(config, "TYPE=1\r\nP_MAKER=1\r\nP_INDEX=39\r\n");
    f.FormShow();
    f.SelectPrintRow(0);
    SelectFrame(f, f.Preview()->Frames().NAM);
    ok = Shoot(f, out + "/print-label-sheet.png") && ok;
    return ok ? 0 : 1;
}
