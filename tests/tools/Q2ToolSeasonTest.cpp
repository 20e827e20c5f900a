// q2tool season on a book file, run as a user would run it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>

#include "model/NewYearSeason.h"
#include "model/UserInfoList.h"

using namespace q2;

namespace {

struct ToolRun {
    int code;
    QString out, err;
};

ToolRun Q2Tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(Q2TOOL_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void AddPerson(TUserInfoList& book, const char* family, const char* given, bool personal,
               std::initializer_list<std::pair<const char*, const char*>> marks) {
    TUserInfo* r = book.Add();
    r->PerSonalName_1 = QString::fromUtf8(family);
    r->PerSonalName_2 = QString::fromUtf8(given);
    r->PerSonalHonorificTitle = QStringLiteral("様");
    r->PerSonalZip_1 = QStringLiteral("263");
    r->PerSonalZip_2 = QStringLiteral("0023");
    r->PerSonalAddress_1 = QStringLiteral("千葉市稲毛区");
    r->PerSonalAddress_2 = QStringLiteral("1-2");
    r->OfficeName = QStringLiteral("稲毛商事");
    r->OfficeZip_1 = QStringLiteral("100");
    r->OfficeZip_2 = QStringLiteral("0001");
    r->OfficeAddress_1 = QStringLiteral("千代田区");
    r->CommonUseTypePersonal = personal;
    for (const auto& [date, title] : marks)
        r->CommonHistoryObjectList.Add(
            {ParseDate(QString::fromLatin1(date)), QString::fromUtf8(title), QString()});
}

QString SeasonBook(const QTemporaryDir& dir) {
    TUserInfoList book;
    AddPerson(book, "山田", "太郎", true, {{"2026/01/03", "年賀状受取"}});
    AddPerson(book, "鈴木", "花子", false, {{"2025/12/20", "年賀状送付"}});
    AddPerson(book, "佐藤", "一郎", true,
              {{"2026/01/03", "年賀状受取"}, {"2026/11/25", "喪中欠礼"}});
    AddPerson(book, "田中", "次郎", true,
              {{"2026/12/10", "年賀状送付"}, {"2027/01/02", "年賀状受取"}});
    const QString path = dir.filePath("season.QT2");
    book.SaveToFile(path);
    return path;
}

}  // namespace

TEST(Q2ToolSeason, CountsTheMarksOfASeason) {
    QTemporaryDir dir;
    const QString book = SeasonBook(dir);
    const ToolRun r2027 = Q2Tool({"season", book, "--year", "2027"});
    ASSERT_EQ(r2027.code, 0) << r2027.err.toStdString();
    EXPECT_EQ(r2027.out, QStringLiteral("2027年 年賀状\n送付\t1\n受取\t1\n喪中\t1\n送付予定\t2\n"));
    const ToolRun r2026 = Q2Tool({"season", book, "--year", "2026"});
    EXPECT_EQ(r2026.out, QStringLiteral("2026年 年賀状\n送付\t1\n受取\t2\n喪中\t0\n送付予定\t0\n"));
}

TEST(Q2ToolSeason, ListsTheRecordsToSendOnTheirPrintedSide) {
    QTemporaryDir dir;
    const ToolRun r = Q2Tool({"season", SeasonBook(dir), "--year", "2027", "--list"});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (QStringList{QStringLiteral("山田 太郎様\t263-0023\t千葉市稲毛区1-2"),
                                  QStringLiteral("鈴木 花子様\t100-0001\t稲毛商事 千代田区")}));
}

TEST(Q2ToolSeason, RefusesWhatItCannotUse) {
    QTemporaryDir dir;
    const QString book = SeasonBook(dir);
    struct Case {
        QStringList args;
        int code;
        const char* message;  // part of standard error
    };
    const Case cases[] = {
        {{"season"}, 2, "season BOOK.QT2"},
        {{"season", book, "--year"}, 2, "season BOOK.QT2"},
        {{"season", book, "--year", "二〇二七"}, 2, "--year: 年は 1901～9999"},
        {{"season", book, "--year", "0"}, 2, "--year: 年は 1901～9999"},
        {{"season", book, "--all"}, 2, "season BOOK.QT2"},
        {{"season", dir.filePath("none.QT2")}, 1, "none.QT2 が見つかりません"},
    };
    for (const Case& c : cases) {
        const ToolRun r = Q2Tool(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Q2ToolSeason, PrintMarksThePrintedRecordsSent) {
    QTemporaryDir dir;
    const QString path = SeasonBook(dir);
    TUserInfoList book;
    ASSERT_TRUE(book.LoadFromFile(path));
    for (int i = 0; i < book.Count(); ++i) book.Item(i)->CommonPrintCheck = false;
    TUserInfo* yamada = nullptr;
    for (int i = 0; i < book.Count(); ++i)
        if (book.Item(i)->PerSonalName_1 == QStringLiteral("山田")) yamada = book.Item(i);
    ASSERT_NE(yamada, nullptr);
    yamada->CommonPrintCheck = true;
    ASSERT_TRUE(book.SaveToFile(path));

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath("data"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(Q2TOOL_PATH),
            {QStringLiteral("print"), path, dir.filePath("out.pdf"), QStringLiteral("--kind"),
             QStringLiteral("1"), QStringLiteral("--mark-sent")});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const int season = DefaultSeason(QDate::currentDate());
    TUserInfoList after;
    ASSERT_TRUE(after.LoadFromFile(path));
    for (int i = 0; i < after.Count(); ++i) {
        const TUserInfo& r = *after.Item(i);
        const bool printed = r.PerSonalName_1 == QStringLiteral("山田");
        const bool hadIt = r.PerSonalName_1 == QStringLiteral("田中");  // marked by hand before
        EXPECT_EQ(HasSeasonMark(r, TSeasonMark::Sent, season), printed || (hadIt && season == 2027))
            << r.PerSonalName_1.toStdString();
    }
}
