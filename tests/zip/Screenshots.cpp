// Writes the review dialog's picture into docs/screenshots.
#include <QApplication>
#include <QComboBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "ReviewFixture.h"
#include "zip/FormZipReview.h"

using namespace q2;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!review_fixture::WriteData(dir.filePath("zip.dat"))) return 1;
    TUserInfoList book;
    review_fixture::FillBook(book);
    TFormZipReview review(book);
    if (!review.Review(dir.filePath("zip.dat"))) return 1;
    review.show();
    review.LVFindings->selectRow(2);
    app.processEvents();
    review.grab().save(QStringLiteral(Q2_SOURCE_DIR "/docs/screenshots/zip-review.png"));
    return 0;
}
