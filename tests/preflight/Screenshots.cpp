// Writes the "確認" list for the sample book with three planted faults into
// docs/screenshots.
#include <QApplication>
#include <QTableWidget>

#include "model/UserInfoList.h"
#include "preflight/FormPreflight.h"
#include "zip/ZipReview.h"

using namespace q2;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TUserInfoList book;
    if (!book.LoadFromFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"))) return 1;
    TZipIndex zip;
    if (!zip.Load(QStringLiteral(Q2_SOURCE_DIR "/data/zip/zip.dat"))) return 1;
    QList<const TUserInfo*> marked;
    QList<TUserInfo*> editable;
    for (int i = 0; i < book.Count(); ++i) {
        if (!book.Item(i)->CommonPrintCheck) continue;
        marked << book.Item(i);
        editable << book.Item(i);
    }
    if (marked.size() < 3) return 1;
    // A code that does not exist, a 外字 in a name, and 御中 beside 様.
    editable[0]->PerSonalZip_2 = QStringLiteral("9999");
    editable[1]->PerSonalName_2 += QChar(0xE000);
    editable[2]->JointName(0) = {true, QString::fromUtf16(u"総務部"), QString::fromUtf16(u"御中")};
    TPrintSettings st;
    st.Font = QString::fromUtf16(u"@ＭＳ Ｐゴシック");
    st.PrintCostom = true;
    const QList<TPreflightFinding> findings = CheckPrint(marked, MakePieceSetup(st, std::nullopt, nullptr), {&zip});
    TFormPreflight form(findings, editable, nullptr, nullptr);
    form.show();
    form.LVFindings->selectRow(0);
    app.processEvents();
    return form.grab().save(QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots/preflight-list.png")) ? 0 : 1;
}
