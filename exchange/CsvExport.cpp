// The CSV export's columns and file image.
#include "CsvExport.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace q2 {

namespace {

// A column: its field and the name of its check box in the export dialog.
struct ExportColumn {
    TRecordFieldId Field;
    const char* CheckBox;
};

using F = TRecordFieldId;
constexpr ExportColumn kColumns[kExportColumnCount] = {
    {F::PersonalFullName, "CBPersonalName"},
    {F::PersonalFullNameKana, "CBPersonalKana"},
    {F::PerSonalHonorificTitle, "CBPersonalNameTitle"},
    {F::PersonalFullZip, "CBPersonalZip"},
    {F::PerSonalAddress_1, "CBPersonalAddress_1"},
    {F::PerSonalAddress_2, "CBPersonalAddress_2"},
    {F::PerSonalTel_1, "CBPersonalTel_1"},
    {F::PerSonalTel_2, "CBPersonalTel_2"},
    {F::PerSonalMail_1, "CBPersonalMail_1"},
    {F::PerSonalMail_2, "CBPersonalMail_2"},
    {F::PerSonalHomePage, "CBPersonalHP"},
    {F::PersonalAge, "CBPersonalAge"},
    {F::PersonalSex, "CBPersonalSex"},
    {F::OfficeName, "CBOfficeName"},
    {F::OfficeKana, "CBOfficeNameKana"},
    {F::OfficeFullZip, "CBOfficeNameZip"},
    {F::OfficeAddress_1, "CBOfficeAddress_1"},
    {F::OfficeAddress_2, "CBOfficeAddress_2"},
    {F::OfficeTel_1, "CBOfficeTel_1"},
    {F::OfficeTel_2, "CBOfficeTel_2"},
    {F::OfficeMail_1, "CBOfficeMail_1"},
    {F::OfficeMail_2, "CBOfficeMail_2"},
    {F::OfficePost, "CBOfficePost"},
    {F::OfficeOfficialPosition, "CBOfficeOfficialPosition"},
    {F::OfficeHomePage, "CBOfficeHP"},
    {F::CommonRegistDate, "CBEntryDate"},
    {F::CommonBirthday, "CBBirthday"},
    {F::CommonCategory_1, "CBCategory_1"},
    {F::CommonCategory_2, "CBCategory_2"},
    {F::CommonJointNameObj_1_PrintName, "CBJointName_1_Name"},
    {F::CommonJointNameObj_2_PrintName, "CBJointName_2_Name"},
    {F::CommonJointNameObj_3_PrintName, "CBJointName_3_Name"},
    {F::CommonJointNameObj_4_PrintName, "CBJointName_4_Name"},
    {F::CommonJointNameObj_1_HonorificTitle, "CBJointName_1_Title"},
    {F::CommonJointNameObj_2_HonorificTitle, "CBJointName_2_Title"},
    {F::CommonJointNameObj_3_HonorificTitle, "CBJointName_3_Title"},
    {F::CommonJointNameObj_4_HonorificTitle, "CBJointName_4_Title"},
    {F::CommonInsertStr_1, "CBInsertStr_1"},
    {F::CommonInsertStr_2, "CBInsertStr_2"},
    {F::CommonInsertStr_3, "CBInsertStr_3"},
    {F::CommonInsertStr_4, "CBInsertStr_4"},
    {F::CommonMemo, "CBMemo"},
    {F::CommonHistoryOneLine, "CBHistory"},
};

}  // namespace

const TRecordField* ExportColumnField(int column) {
    if (column < 0 || column >= kExportColumnCount) return nullptr;
    return &RecordField(kColumns[column].Field);
}

const std::vector<TExportColumn>& ExportColumns() {
    static const std::vector<TExportColumn> columns = [] {
        std::vector<TExportColumn> c = {
            {"CBPersonalName", QStringLiteral("名前"), QStringLiteral("個人名前")},
            {"CBPersonalKana", QStringLiteral("フリガナ"), QStringLiteral("個人フリガナ")},
            {"CBPersonalNameTitle", QStringLiteral("敬称"), QStringLiteral("個人敬称")},
            {"CBPersonalZip", QStringLiteral("郵便番号"), QStringLiteral("個人郵便番号")},
            {"CBPersonalAddress_1", QStringLiteral("住所１"), QStringLiteral("個人住所１")},
            {"CBPersonalAddress_2", QStringLiteral("住所２"), QStringLiteral("個人住所２")},
            {"CBPersonalTel_1", QStringLiteral("電話"), QStringLiteral("個人電話")},
            {"CBPersonalTel_2", QStringLiteral("電話/FAX"), QStringLiteral("個人電話/FAX")},
            {"CBPersonalMail_1", QStringLiteral("メール１"), QStringLiteral("個人メール１")},
            {"CBPersonalMail_2", QStringLiteral("メール２"), QStringLiteral("個人メール２")},
            {"CBPersonalHP", QStringLiteral("HP"), QStringLiteral("個人ホームページ")},
            {"CBPersonalAge", QStringLiteral("年齢"), QStringLiteral("年齢")},
            {"CBPersonalSex", QStringLiteral("性別"), QStringLiteral("性別")},
            {"CBOfficeName", QStringLiteral("会社名"), QStringLiteral("会社名")},
            {"CBOfficeNameKana", QStringLiteral("フリガナ"), QStringLiteral("会社フリガナ")},
            {"CBOfficeNameZip", QStringLiteral("郵便番号"), QStringLiteral("会社郵便番号")},
            {"CBOfficeAddress_1", QStringLiteral("住所１"), QStringLiteral("会社住所１")},
            {"CBOfficeAddress_2", QStringLiteral("住所２"), QStringLiteral("会社住所２")},
            {"CBOfficeTel_1", QStringLiteral("電話"), QStringLiteral("会社電話")},
            {"CBOfficeTel_2", QStringLiteral("電話/FAX"), QStringLiteral("会社電話/FAX")},
            {"CBOfficeMail_1", QStringLiteral("メール１"), QStringLiteral("会社メール１")},
            {"CBOfficeMail_2", QStringLiteral("メール２"), QStringLiteral("会社メール２")},
            {"CBOfficePost", QStringLiteral("部署"), QStringLiteral("会社部署")},
            {"CBOfficeOfficialPosition", QStringLiteral("役職"), QStringLiteral("会社役職")},
            {"CBOfficeHP", QStringLiteral("HP"), QStringLiteral("会社ホームページ")},
            {"CBEntryDate", QStringLiteral("登録日"), QStringLiteral("登録日")},
            {"CBBirthday", QStringLiteral("生年月日"), QStringLiteral("生年月日")},
            {"CBCategory_1", QStringLiteral("分類１"), QStringLiteral("分類１")},
            {"CBCategory_2", QStringLiteral("分類２"), QStringLiteral("分類２")},
        };
        static const char* const names[] = {
            "CBJointName_1_Name",  "CBJointName_2_Name",  "CBJointName_3_Name",
            "CBJointName_4_Name",  "CBJointName_1_Title", "CBJointName_2_Title",
            "CBJointName_3_Title", "CBJointName_4_Title", "CBInsertStr_1",
            "CBInsertStr_2",       "CBInsertStr_3",       "CBInsertStr_4"};
        static const char16_t* const digits[] = {u"１", u"２", u"３", u"４"};
        for (int i = 0; i < 12; ++i) {
            const QString d = QString::fromUtf16(digits[i % 4]);
            const QString caption = i < 4 ? QStringLiteral("連名") + d + QStringLiteral("名前")
                                    : i < 8 ? QStringLiteral("連名") + d + QStringLiteral("敬称")
                                            : QStringLiteral("差込") + d;
            c.push_back({names[i], caption, caption});
        }
        c.push_back({"CBMemo", QStringLiteral("備考"), QStringLiteral("備考")});
        c.push_back({"CBHistory", QStringLiteral("履歴"), QStringLiteral("履歴")});
        return c;
    }();
    return columns;
}

QString ImportDestinationOfExportColumn(int column) {
    static const char* const kDestinations[kExportColumnCount] = {
        "個人名前", "個人フリガナ", "個人敬称", "個人郵便番号", "個人住所１", "個人住所２",
        "個人電話", "個人電話/FAX", "個人メール１", "個人メール２", "個人ホームページ", "",
        "性別", "会社名", "会社フリガナ", "会社郵便番号", "会社住所１", "会社住所２",
        "会社電話", "会社電話/FAX", "会社メール１", "会社メール２", "会社部署", "会社役職",
        "会社ホームページ", "", "生年月日", "分類１", "分類２", "連名１名前", "連名２名前",
        "連名３名前", "連名４名前", "連名１敬称", "連名２敬称", "連名３敬称", "連名４敬称",
        "差込１", "差込２", "差込３", "差込４", "備考", "履歴"};
    if (column < 0 || column >= kExportColumnCount) return QString();
    return QString::fromUtf8(kDestinations[column]);
}

QString ExportValue(const TUserInfo& r, int column, QDate today) {
    switch (column) {
        case 0:
            return r.PersonalFullName();
        case 1:
            return r.PersonalFullNameKana();
        case 2:
            return r.PerSonalHonorificTitle;
        case 3:
            return r.PersonalFullZip();
        case 4:
            return r.PerSonalAddress_1;
        case 5:
            return r.PerSonalAddress_2;
        case 6:
            return r.PerSonalTel_1;
        case 7:
            return r.PerSonalTel_2;
        case 8:
            return r.PerSonalMail_1;
        case 9:
            return r.PerSonalMail_2;
        case 10:
            return r.PerSonalHomePage;
        case 11:
            return QString::number(r.PersonalAge(today));
        case 12:
            return SexDisplayName(r.PersonalSex);
        case 13:
            return r.OfficeName;
        case 14:
            return r.OfficeKana;
        case 15:
            return r.OfficeFullZip();
        case 16:
            return r.OfficeAddress_1;
        case 17:
            return r.OfficeAddress_2;
        case 18:
            return r.OfficeTel_1;
        case 19:
            return r.OfficeTel_2;
        case 20:
            return r.OfficeMail_1;
        case 21:
            return r.OfficeMail_2;
        case 22:
            return r.OfficePost;
        case 23:
            return r.OfficeOfficialPosition;
        case 24:
            return r.OfficeHomePage;
        case 25:
            return FormatDate(r.CommonRegistDate.date());
        case 26:
            return FormatDate(r.CommonBirthday.date());
        case 27:
            return r.CommonCategory_1;
        case 28:
            return r.CommonCategory_2;
        case 29:
        case 30:
        case 31:
        case 32:
            return r.JointName(column - 29).PrintName;
        case 33:
        case 34:
        case 35:
        case 36:
            return r.JointName(column - 33).HonorificTitle;
        case 37:
            return r.CommonInsertStr_1;
        case 38:
            return r.CommonInsertStr_2;
        case 39:
            return r.CommonInsertStr_3;
        case 40:
            return r.CommonInsertStr_4;
        case 41:
            return r.CommonMemo;
        case 42:
            return r.CommonHistoryOneLine();
        default:
            return QString();
    }
}

QString QuoteCsvValue(const QString& value, bool lone) {
    if (value.isEmpty()) return lone ? QStringLiteral("\"\"") : QString();
    bool quote = false;
    for (QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u',' || u == u'"' || u == u' ' || (u >= 1 && u <= 31)) {
            quote = true;
            break;
        }
    }
    if (!quote) return value;
    QString out;
    out.reserve(value.size() + 2);
    out += u'"';
    for (QChar c : value) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

TExportResult ComposeCsv(const TUserInfoList& book, const TExportOptions& o, QDate today) {
    const auto& columns = ExportColumns();
    const bool lone = o.Columns.size() == 1;
    QString text;
    auto addLine = [&](auto valueOf) {
        bool first = true;
        for (int c : o.Columns) {
            if (!first) text += u',';
            first = false;
            text += QuoteCsvValue(valueOf(c), lone);
        }
        text += QLatin1String("\r\n");
    };
    if (o.Header) addLine([&](int c) { return columns[c].Header; });
    TExportResult result;
    if (o.Utf8) result.Bytes = QByteArrayLiteral("\xEF\xBB\xBF");
    // Encode in slices so that the text held at once stays small.
    auto flush = [&] {
        if (o.Utf8) {
            result.Bytes += text.toUtf8();
        } else {
            QList<qsizetype> bad;
            result.Bytes += EncodeCp932(text, &bad);
            result.Unencodable += static_cast<int>(bad.size());
        }
        text.clear();
    };
    for (int i = 0; i < book.Count(); ++i) {
        const TUserInfo& r = *book.Item(i);
        addLine([&](int c) { return ExportValue(r, c, today); });
        if (text.size() > (1 << 16)) flush();
        if (o.Progress) o.Progress(i);
    }
    flush();
    return result;
}

bool ParseExportColumns(const QString& text, std::vector<int>* columns, QString* error) {
    std::vector<bool> on(kExportColumnCount, false);
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype dash = part.indexOf(u'-');
        bool ok1 = false, ok2 = false;
        const int from = (dash < 0 ? part : part.left(dash)).trimmed().toInt(&ok1);
        const int to = dash < 0 ? from : part.mid(dash + 1).trimmed().toInt(&ok2);
        if (!ok1 || (dash >= 0 && !ok2) || from < 1 || to > kExportColumnCount || from > to) {
            *error = QStringLiteral("列番号は 1 から %1 で指定してください: %2")
                         .arg(kExportColumnCount)
                         .arg(part);
            return false;
        }
        for (int c = from; c <= to; ++c) on[c - 1] = true;
    }
    columns->clear();
    for (int c = 0; c < kExportColumnCount; ++c)
        if (on[c]) columns->push_back(c);
    return true;
}

}  // namespace q2
