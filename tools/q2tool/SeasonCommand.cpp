// q2tool season: the New Year's card marks of a season, and the records to send to.
#include "Command.h"
#include "model/NewYearSeason.h"
#include "model/UserInfoList.h"
#include "platform/Clock.h"

namespace q2tool {
namespace {

using namespace q2;

int Season(const QStringList& argsIn) {
    QStringList args = argsIn;
    const bool hasYear = args.contains(QStringLiteral("--year"));
    const QString year = TakeOption(args, QStringLiteral("--year"));
    const QString password = TakePassword(args);
    const bool list = TakeFlag(args, QStringLiteral("--list"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return PrintError(Commands()["season"].Usage), kUsage;

    int season = DefaultSeason(Today());
    if (hasYear) {
        bool ok = false;
        season = year.toInt(&ok);
        if (!ok || season < kFirstSeason || season > kLastSeason)
            return PrintError(QStringLiteral("--year: 年は %1～%2 の数字で指定してください")
                                  .arg(kFirstSeason)
                                  .arg(kLastSeason)),
                   kUsage;
    }

    const QString path = args[0];
    TUserInfoList book;
    if (!LoadBookFile(path, password, book)) return kFailure;

    if (list) {
        // One record a line: name and honorific, postal code and address of
        // the side the card is printed for.
        for (const TUserInfo* r : RecordsToSend(book, season)) {
            const bool personal = r->CommonUseTypePersonal;
            const QString name = (r->PersonalFullName() + r->PerSonalHonorificTitle).trimmed();
            const QString zip = (personal ? r->PersonalFullZip() : r->OfficeFullZip()).trimmed();
            const QString address = personal ? r->PerSonalAddress_1 + r->PerSonalAddress_2
                                             : r->OfficeName + QLatin1Char(' ') +
                                                   r->OfficeAddress_1 + r->OfficeAddress_2;
            PrintOut(name + QLatin1Char('\t') + zip + QLatin1Char('\t') + address.trimmed());
        }
        return kOk;
    }
    const TSeasonCounts n = CountSeason(book, season);
    PrintOut(SeasonCaption(season));
    PrintOut(QStringLiteral("送付\t%1").arg(n.Sent));
    PrintOut(QStringLiteral("受取\t%1").arg(n.Received));
    PrintOut(QStringLiteral("喪中\t%1").arg(n.Mourning));
    PrintOut(QStringLiteral("送付予定\t%1").arg(n.ToSend));
    return kOk;
}

const Registrar season(
    QStringLiteral("season"),
    {QStringLiteral("season BOOK.QT2 [--year Y] [--list] [--password P|-]   the New Year's card "
                    "marks of a season (default: the coming New Year from November on); --list: "
                    "the records to send to"),
     Season});

}  // namespace
}  // namespace q2tool
