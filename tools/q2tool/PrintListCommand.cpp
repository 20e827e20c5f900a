// q2tool print-list: the address list print of a book's marked records into a PDF.
#include <QElapsedTimer>

#include "Command.h"
#include "model/NameOrder.h"
#include "model/UserInfoList.h"
#include "print/ListPrint.h"

namespace q2tool {
namespace {

using namespace q2;

int PrintList(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString type = TakeOption(args, "--type"), dpi = TakeOption(args, "--dpi");
    const QString password = TakePassword(args);
    const bool portrait = TakeFlag(args, "--portrait");
    const bool force = TakeFlag(args, "--force");
    const bool noRules = TakeFlag(args, "--no-rules"),
               noNumbers = TakeFlag(args, "--no-page-numbers");
    if (args.size() != 2) return PrintError(Commands()["print-list"].Usage), kUsage;

    bool ok = true;
    int typeNo = 1, dpiNo = 600;
    if (!type.isEmpty()) {
        typeNo = type.toInt(&ok);
        if (!ok || typeNo < 1 || typeNo > kListTypeCount)
            return PrintError(QStringLiteral("--type: 1–5")), kUsage;
    }
    if (!dpi.isEmpty()) {
        dpiNo = dpi.toInt(&ok);
        if (!ok || dpiNo < 50 || dpiNo > 2400)
            return PrintError(QStringLiteral("--dpi: 50–2400")), kUsage;
    }

    const QString path = args[0];
    TUserInfoList book;
    if (!LoadBookFile(path, password, book)) return kFailure;
    if (!MayWriteOutput(args[1], {path}, force)) return kFailure;
    TListRecords records;
    for (int i = 0; i < book.Count(); ++i) records.push_back(book.Item(i));
    // In the order the address list opens in (50音 order of the readings),
    // not in the file's order, which each save reverses.
    const TListRecords inBook = records;
    const std::vector<size_t> order = NameReadingOrder(inBook, TRecordFieldId::PersonalFullNameKana);
    for (size_t i = 0; i < order.size(); ++i) records[i] = inBook[order[i]];

    // The dialog prints in landscape unless told otherwise.
    TListPageSetup setup = A4ListSetup(Dpi{dpiNo, dpiNo}, !portrait);
    setup.Type = typeNo;
    setup.Rules = !noRules;
    setup.PageNumbers = !noNumbers;
    QElapsedTimer timer;
    timer.start();
    QString error;
    const int pages = WriteListPdf(args[1], records, setup, &error);
    if (pages < 0) {
        PrintError(error);
        return kFailure;
    }
    if (pages == 0) {
        PrintError(QString::fromUtf16(u"印刷対象がありません"));
        return kFailure;
    }
    PrintOut(QStringLiteral("%1 pages, %2 ms").arg(pages).arg(timer.elapsed()));
    return kOk;
}

const Registrar printList(
    QStringLiteral("print-list"),
    {QStringLiteral(
         "print-list BOOK.QT2 OUT.pdf [--type N] [--portrait] [--no-rules] [--no-page-numbers] "
         "[--dpi N] [--password P|-] [--force]   the address list of the marked records on A4"),
     PrintList});

}  // namespace
}  // namespace q2tool
