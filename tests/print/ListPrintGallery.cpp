// Draws the first page of each list print type of the sample book for
// docs/print-gallery, and the two dialogs for docs/screenshots. Not a test.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <cstdio>

#include "model/UserInfoList.h"
#include "print/FormPrintAllAddressList.h"
#include "print/FormSelectPrintType.h"
#include "print/ListPrint.h"

namespace {

bool Save(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString docs =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(Q2_SOURCE_DIR "/docs");
    QDir().mkpath(docs + "/print-gallery");
    QDir().mkpath(docs + "/screenshots");
    q2::TUserInfoList book;
    if (!book.LoadFromFile(QStringLiteral(Q2_SOURCE_DIR "/data/sample.QT2"))) {
        std::fprintf(stderr, "cannot read the sample book\n");
        return 1;
    }
    q2::TListRecords records;
    std::vector<q2::TUserInfo*> display;
    for (int i = 0; i < book.Count(); ++i) {
        records.push_back(book.Item(i));
        display.push_back(book.Item(i));
    }
    bool ok = true;
    // Landscape A4 as the dialog prints by default, at 150 dpi.
    for (int type = 1; type <= q2::kListTypeCount; ++type) {
        q2::TListPageSetup setup = q2::A4ListSetup(q2::Dpi{150, 150}, true);
        setup.Type = type;
        const q2::TListJob job = q2::MakeListJob(records, setup);
        QImage page(setup.PaperWidth.v, setup.PaperHeight.v, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.setRenderHint(QPainter::TextAntialiasing);
        q2::DrawListPage(painter, job, 0, 0);
        painter.end();
        ok = Save(page, docs + QStringLiteral("/print-gallery/list-type%1.png").arg(type)) && ok;
    }

    q2::TFormSelectPrintType select;
    select.show();
    ok = Save(select.grab().toImage(), docs + "/screenshots/list-print-select.png") && ok;
    q2::TFormPrintAllAddressList form;
    form.TakeRecords(display);
    form.FormShow();
    form.SelectPrintType(3);
    form.show();
    form.adjustSize();
    ok = Save(form.grab().toImage(), docs + "/screenshots/list-print-dialog.png") && ok;
    return ok ? 0 : 1;
}
