// Destinations of CSV columns and how each one stores its text.
#include "CsvImport.h"

#include <QHash>
#include <algorithm>
#include <memory>

#include "exchange/CsvReader.h"
#include "platform/Clock.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

enum Dest {
    kPersonalKana,
    kPersonalName,
    kPersonalTitle,
    kPersonalZip,
    kPersonalAddress1,
    kPersonalAddress2,
    kPersonalTel1,
    kPersonalTel2,
    kPersonalMail1,
    kPersonalMail2,
    kPersonalHomePage,
    kOfficeKana,
    kOfficeName,
    kOfficeZip,
    kOfficeAddress1,
    kOfficeAddress2,
    kOfficeTel1,
    kOfficeTel2,
    kOfficeMail1,
    kOfficeMail2,
    kOfficeHomePage,
    kOfficePost,
    kOfficePosition,
    kBirthday,
    kSex,
    kCategory1,
    kCategory2,
    kJoint1Name,
    kJoint1Title,
    kJoint2Name,
    kJoint2Title,
    kJoint3Name,
    kJoint3Title,
    kJoint4Name,
    kJoint4Title,
    kInsert1,
    kInsert2,
    kInsert3,
    kInsert4,
    kMemo,
    kHistory,
    kDestCount
};

const QString kBr = QStringLiteral("#BR#");
const QString kFullSpace = QStringLiteral("　");

// The text before the first separator and the text after it; without the
// separator the whole text and nothing.
std::pair<QString, QString> SplitAt(const QString& text, const QString& sep) {
    const qsizetype at = text.indexOf(sep);
    if (at < 0) return {text, QString()};
    return {text.left(at), text.mid(at + sep.size())};
}

QString ExpandBr(QString text) {
    if (text.contains(u'#')) text.replace(kBr, QStringLiteral("\r\n"), Qt::CaseInsensitive);
    return text;
}

QString* TextMember(TUserInfo& r, int d) {
    switch (d) {
        case kPersonalTitle:
            return &r.PerSonalHonorificTitle;
        case kPersonalAddress1:
            return &r.PerSonalAddress_1;
        case kPersonalAddress2:
            return &r.PerSonalAddress_2;
        case kOfficeAddress1:
            return &r.OfficeAddress_1;
        case kOfficeAddress2:
            return &r.OfficeAddress_2;
        case kOfficePost:
            return &r.OfficePost;
        case kOfficePosition:
            return &r.OfficeOfficialPosition;
        case kCategory1:
            return &r.CommonCategory_1;
        case kCategory2:
            return &r.CommonCategory_2;
        case kJoint1Name:
            return &r.CommonJointNameObj_1.PrintName;
        case kJoint1Title:
            return &r.CommonJointNameObj_1.HonorificTitle;
        case kJoint2Name:
            return &r.CommonJointNameObj_2.PrintName;
        case kJoint2Title:
            return &r.CommonJointNameObj_2.HonorificTitle;
        case kJoint3Name:
            return &r.CommonJointNameObj_3.PrintName;
        case kJoint3Title:
            return &r.CommonJointNameObj_3.HonorificTitle;
        case kJoint4Name:
            return &r.CommonJointNameObj_4.PrintName;
        case kJoint4Title:
            return &r.CommonJointNameObj_4.HonorificTitle;
        case kInsert1:
            return &r.CommonInsertStr_1;
        case kInsert2:
            return &r.CommonInsertStr_2;
        case kInsert3:
            return &r.CommonInsertStr_3;
        case kInsert4:
            return &r.CommonInsertStr_4;
        default:
            return nullptr;
    }
}

QString* HalfWidthMember(TUserInfo& r, int d) {
    switch (d) {
        case kPersonalTel1:
            return &r.PerSonalTel_1;
        case kPersonalTel2:
            return &r.PerSonalTel_2;
        case kPersonalMail1:
            return &r.PerSonalMail_1;
        case kPersonalMail2:
            return &r.PerSonalMail_2;
        case kPersonalHomePage:
            return &r.PerSonalHomePage;
        case kOfficeTel1:
            return &r.OfficeTel_1;
        case kOfficeTel2:
            return &r.OfficeTel_2;
        case kOfficeMail1:
            return &r.OfficeMail_1;
        case kOfficeMail2:
            return &r.OfficeMail_2;
        case kOfficeHomePage:
            return &r.OfficeHomePage;
        default:
            return nullptr;
    }
}

}  // namespace

namespace {

using F = TRecordFieldId;
constexpr TRecordFieldId kDestinationFields[] = {
    F::PersonalFullNameKana,
    F::PersonalFullName,
    F::PerSonalHonorificTitle,
    F::PersonalFullZip,
    F::PerSonalAddress_1,
    F::PerSonalAddress_2,
    F::PerSonalTel_1,
    F::PerSonalTel_2,
    F::PerSonalMail_1,
    F::PerSonalMail_2,
    F::PerSonalHomePage,
    F::OfficeKana,
    F::OfficeName,
    F::OfficeFullZip,
    F::OfficeAddress_1,
    F::OfficeAddress_2,
    F::OfficeTel_1,
    F::OfficeTel_2,
    F::OfficeMail_1,
    F::OfficeMail_2,
    F::OfficeHomePage,
    F::OfficePost,
    F::OfficeOfficialPosition,
    F::CommonBirthday,
    F::PersonalSex,
    F::CommonCategory_1,
    F::CommonCategory_2,
    F::CommonJointNameObj_1_PrintName,
    F::CommonJointNameObj_1_HonorificTitle,
    F::CommonJointNameObj_2_PrintName,
    F::CommonJointNameObj_2_HonorificTitle,
    F::CommonJointNameObj_3_PrintName,
    F::CommonJointNameObj_3_HonorificTitle,
    F::CommonJointNameObj_4_PrintName,
    F::CommonJointNameObj_4_HonorificTitle,
    F::CommonInsertStr_1,
    F::CommonInsertStr_2,
    F::CommonInsertStr_3,
    F::CommonInsertStr_4,
    F::CommonMemo,
    F::CommonHistoryOneLine,
};
constexpr int kDestinationCount = static_cast<int>(std::size(kDestinationFields));

}  // namespace

const TRecordField* ImportDestinationField(int destination) {
    if (destination < 0 || destination >= kDestinationCount) return nullptr;
    return &RecordField(kDestinationFields[destination]);
}

const QStringList& ImportDestinations() {
    static const QStringList names = {QStringLiteral("個人フリガナ"),
                                      QStringLiteral("個人名前"),
                                      QStringLiteral("個人敬称"),
                                      QStringLiteral("個人郵便番号"),
                                      QStringLiteral("個人住所１"),
                                      QStringLiteral("個人住所２"),
                                      QStringLiteral("個人電話"),
                                      QStringLiteral("個人電話/FAX"),
                                      QStringLiteral("個人メール１"),
                                      QStringLiteral("個人メール２"),
                                      QStringLiteral("個人ホームページ"),
                                      QStringLiteral("会社フリガナ"),
                                      QStringLiteral("会社名"),
                                      QStringLiteral("会社郵便番号"),
                                      QStringLiteral("会社住所１"),
                                      QStringLiteral("会社住所２"),
                                      QStringLiteral("会社電話"),
                                      QStringLiteral("会社電話/FAX"),
                                      QStringLiteral("会社メール１"),
                                      QStringLiteral("会社メール２"),
                                      QStringLiteral("会社ホームページ"),
                                      QStringLiteral("会社部署"),
                                      QStringLiteral("会社役職"),
                                      QStringLiteral("生年月日"),
                                      QStringLiteral("性別"),
                                      QStringLiteral("分類１"),
                                      QStringLiteral("分類２"),
                                      QStringLiteral("連名１名前"),
                                      QStringLiteral("連名１敬称"),
                                      QStringLiteral("連名２名前"),
                                      QStringLiteral("連名２敬称"),
                                      QStringLiteral("連名３名前"),
                                      QStringLiteral("連名３敬称"),
                                      QStringLiteral("連名４名前"),
                                      QStringLiteral("連名４敬称"),
                                      QStringLiteral("差込１"),
                                      QStringLiteral("差込２"),
                                      QStringLiteral("差込３"),
                                      QStringLiteral("差込４"),
                                      QStringLiteral("備考"),
                                      QStringLiteral("履歴")};
    static_assert(kDestCount == 41);
    return names;
}

int ImportDestinationIndex(const QString& name) {
    return static_cast<int>(ImportDestinations().indexOf(name));
}

void ApplyImportDefaults(TUserInfo& r, const QDateTime& now) {
    r.PerSonalHonorificTitle = QStringLiteral("様");
    r.PerSonalHomePage = QStringLiteral("http://");
    r.OfficeHomePage = QStringLiteral("http://");
    r.CommonPrintCheck = true;
    r.CommonUseTypePersonal = true;
    r.CommonRegistDate = now;
    r.CommonBirthday = now;
    for (int i = 0; i < 4; ++i) r.JointName(i).HonorificTitle = QStringLiteral("様");
}

void ApplyImportField(TUserInfo& r, int d, const QString& v, const QDateTime& now) {
    if (QString* m = TextMember(r, d)) {
        *m = v;
        return;
    }
    if (QString* m = HalfWidthMember(r, d)) {
        *m = ToHalfWidth(v);
        return;
    }
    switch (d) {
        case kPersonalKana:
            std::tie(r.PerSonalKana_1, r.PerSonalKana_2) = SplitAt(ToFullWidth(v), kFullSpace);
            break;
        case kPersonalName:
            std::tie(r.PerSonalName_1, r.PerSonalName_2) = SplitAt(ToFullWidth(v), kFullSpace);
            break;
        case kPersonalZip:
            std::tie(r.PerSonalZip_1, r.PerSonalZip_2) =
                SplitAt(ToHalfWidth(v), QStringLiteral("-"));
            break;
        case kOfficeZip:
            std::tie(r.OfficeZip_1, r.OfficeZip_2) = SplitAt(ToHalfWidth(v), QStringLiteral("-"));
            break;
        case kOfficeKana:
            r.OfficeKana = ToFullWidth(v);
            break;
        case kOfficeName:
            r.OfficeName = ToFullWidth(v);
            break;
        case kBirthday: {
            const QDate date = ParseDate(ToHalfWidth(v));
            r.CommonBirthday = date.isValid() ? MakeDateTime(date) : now;
            break;
        }
        case kSex: {
            const QString t = Trim(v);
            r.PersonalSex = t == QStringLiteral("男性")   ? TThSex::tsMale
                            : t == QStringLiteral("女性") ? TThSex::tsFemale
                                                          : TThSex::tsNone;
            break;
        }
        case kMemo:
            r.CommonMemo = ExpandBr(v);
            break;
        case kHistory:
            for (THistoryObject& h : ParseHistoryText(ExpandBr(v)))
                r.CommonHistoryObjectList.Add(std::move(h));
            break;
        default:
            break;
    }
}

bool ParseImportMapping(const QStringList& pairs, TImportMapping* mapping, QString* error,
                        int columnCount) {
    mapping->clear();
    std::vector<bool> used(kDestCount, false);
    for (const QString& p : pairs) {
        const qsizetype eq = p.indexOf(u'=');
        bool ok = false;
        const int column = eq > 0 ? p.left(eq).trimmed().toInt(&ok) : -1;
        if (!ok || column < 0) {
            *error = QStringLiteral("列の指定が正しくありません: %1").arg(p);
            return false;
        }
        // Checked before the mapping grows to the column: a huge number must not
        // turn into a huge allocation.
        if (column >= std::min(columnCount, kMaxImportColumns)) {
            *error = QStringLiteral("列 %1 はファイルにありません（列は 0 から %2 まで）")
                         .arg(column)
                         .arg(std::max(0, std::min(columnCount, kMaxImportColumns) - 1));
            return false;
        }
        const QString name = p.mid(eq + 1).trimmed();
        const int d = ImportDestinationIndex(name);
        if (d < 0) {
            *error = QStringLiteral("取り込み先の項目がありません: %1").arg(name);
            return false;
        }
        if (used[d]) {
            *error = QStringLiteral("項目が2つの列に指定されています: %1").arg(name);
            return false;
        }
        used[d] = true;
        if (static_cast<int>(mapping->size()) <= column) mapping->resize(column + 1, -1);
        if ((*mapping)[column] >= 0) {
            *error = QStringLiteral("列が2回指定されています: %1").arg(column);
            return false;
        }
        (*mapping)[column] = d;
    }
    return true;
}

int ImportRecords(const QStringList& records, const TImportMapping& mapping,
                  const TImportOptions& options, TUserInfoList& book) {
    const QDateTime now = MakeDateTime(Now());
    const int first = options.SkipFirstRecord ? 1 : 0;
    int added = 0;
    for (int i = first; i < records.size(); ++i) {
        const QStringList fields = SplitCsvFields(records[i]);
        auto record = std::make_unique<TUserInfo>();
        ApplyImportDefaults(*record, now);
        const qsizetype rows = std::min<qsizetype>(mapping.size(), fields.size());
        for (qsizetype r = 0; r < rows; ++r)
            if (mapping[r] >= 0) ApplyImportField(*record, mapping[r], fields[r], now);
        book.Add(std::move(record));
        ++added;
        if (options.Progress) options.Progress(i);
    }
    return added;
}

}  // namespace q2
