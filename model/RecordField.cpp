// The table of record fields.
#include "model/RecordField.h"

#include <utility>

#include "platform/Clock.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

using Id = TRecordFieldId;

// The text before the first separator and the text after it; without the
// separator the whole text and nothing.
std::pair<QString, QString> SplitAt(const QString& text, QStringView sep) {
    const qsizetype at = text.indexOf(sep);
    if (at < 0) return {text, QString()};
    return {text.left(at), text.mid(at + sep.size())};
}

template <int I, QString TJointNameObject::*M>
QString JointText(const TUserInfo& r, QDate) {
    return r.JointName(I).*M;
}

template <int I, QString TJointNameObject::*M>
void SetJointText(TUserInfo& r, const QString& text, const QDateTime&) {
    r.JointName(I).*M = text;
}

// A name and its reading are kept as two halves; the text gives them
// separated by a space of either width.
template <QString TUserInfo::*First, QString TUserInfo::*Second>
void SetNameHalves(TUserInfo& r, const QString& text, const QDateTime&) {
    std::tie(r.*First, r.*Second) = SplitAt(ToFullWidth(text), u"　");
}

template <QString TUserInfo::*First, QString TUserInfo::*Second>
void SetZipHalves(TUserInfo& r, const QString& text, const QDateTime&) {
    std::tie(r.*First, r.*Second) = SplitAt(ToHalfWidth(text), u"-");
}

QDate DayOf(QDate today) {
    return today.isValid() ? today : Today();
}

qint64 Flag(bool b) {
    return b ? 1 : 0;
}

QString DateText(const QDateTime& d) {
    return FormatDate(d.date());
}

qint64 DateKey(const QDateTime& d) {
    return d.date().toJulianDay();
}

// A joint name's name or honorific; the export dialog calls it as the CSV header does.
#define Q2_JOINT(n, part, listCaption, searchCaption, csvCaption)                                \
    TRecordField {                                                                               \
        .Id = Id::CommonJointNameObj_##n##_##part, .Name = "CommonJointNameObj_" #n "." #part,   \
        .ListCaption = listCaption, .SearchCaption = searchCaption, .ExportCaption = csvCaption, \
        .CsvCaption = csvCaption, .Get = &JointText<n - 1, &TJointNameObject::part>,             \
        .Set = &SetJointText<n - 1, &TJointNameObject::part>,                                    \
    }

// A plain text property: the same text in every view.
#define Q2_TEXT(name, form, listCaption, searchCaption, exportCaption, csvCaption)                 \
    TRecordField {                                                                                 \
        .Id = Id::name, .Name = #name, .ListCaption = listCaption, .SearchCaption = searchCaption, \
        .ExportCaption = exportCaption, .CsvCaption = csvCaption, .Member = &TUserInfo::name,      \
        .Form = TTextForm::form                                                                    \
    }

constexpr TRecordField kFields[] = {
    Q2_TEXT(PerSonalKana_1, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(PerSonalKana_2, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(PerSonalName_1, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(PerSonalName_2, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(PerSonalHonorificTitle, AsGiven, u"敬称", u"個人敬称", u"敬称", u"個人敬称"),
    Q2_TEXT(PerSonalZip_1, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(PerSonalZip_2, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(PerSonalAddress_1, AsGiven, u"住所１", u"個人住所１", u"住所１", u"個人住所１"),
    Q2_TEXT(PerSonalAddress_2, AsGiven, u"住所２", u"個人住所２", u"住所２", u"個人住所２"),
    Q2_TEXT(PerSonalTel_1, HalfWidth, u"電話", u"個人電話", u"電話", u"個人電話"),
    Q2_TEXT(PerSonalTel_2, HalfWidth, u"電話/FAX", u"個人電話/FAX", u"電話/FAX", u"個人電話/FAX"),
    Q2_TEXT(PerSonalMail_1, HalfWidth, u"メール１", u"個人メール１", u"メール１", u"個人メール１"),
    Q2_TEXT(PerSonalMail_2, HalfWidth, u"メール２", u"個人メール２", u"メール２", u"個人メール２"),
    Q2_TEXT(PerSonalHomePage, HalfWidth, u"HP", u"個人HP", u"HP", u"個人ホームページ"),
    {
        .Id = Id::PersonalSex,
        .Name = "PersonalSex",
        .ListCaption = u"性別",
        .SearchCaption = u"性別",
        .ExportCaption = u"性別",
        .CsvCaption = u"性別",
        .Get = [](const TUserInfo& r, QDate) { return SexDisplayName(r.PersonalSex); },
        .Set =
            [](TUserInfo& r, const QString& text, const QDateTime&) {
                const QString t = Trim(text);
                r.PersonalSex = t == SexDisplayName(TThSex::tsMale)     ? TThSex::tsMale
                                : t == SexDisplayName(TThSex::tsFemale) ? TThSex::tsFemale
                                                                        : TThSex::tsNone;
            },
        // In the order of the enumeration's names: tsFemale, tsMale, tsNone.
        .SortNumber = [](const TUserInfo& r, QDate) -> qint64 {
            switch (r.PersonalSex) {
                case TThSex::tsFemale:
                    return 0;
                case TThSex::tsMale:
                    return 1;
                case TThSex::tsNone:
                    return 2;
            }
            return 2;
        },
    },
    {
        .Id = Id::PersonalAge,
        .Name = "PersonalAge",
        .ListCaption = u"年齢",
        .SearchCaption = u"年齢",
        .ExportCaption = u"年齢",
        .CsvCaption = u"年齢",
        .Get = [](const TUserInfo& r, QDate today) { return r.PersonalAgeText(DayOf(today)); },
        // Three digits at least, so that ages compare as texts.
        .SearchGet =
            [](const TUserInfo& r, QDate today) {
                return QString::asprintf("%.3d", r.PersonalAge(DayOf(today)));
            },
        .ExportGet = [](const TUserInfo& r,
                        QDate today) { return QString::number(r.PersonalAge(DayOf(today))); },
        // Records without a birthday sort before every age.
        .SortNumber = [](const TUserInfo& r, QDate today) -> qint64 {
            return r.HasBirthday() ? r.PersonalAge(DayOf(today)) : -1;
        },
    },
    Q2_TEXT(OfficeKana, FullWidth, u"フリガナ", u"会社フリガナ", u"フリガナ", u"会社フリガナ"),
    Q2_TEXT(OfficeName, FullWidth, u"会社名", u"会社名", u"会社名", u"会社名"),
    Q2_TEXT(OfficeZip_1, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(OfficeZip_2, AsGiven, {}, {}, {}, {}),
    Q2_TEXT(OfficeAddress_1, AsGiven, u"会社住所１", u"会社住所１", u"住所１", u"会社住所１"),
    Q2_TEXT(OfficeAddress_2, AsGiven, u"会社住所２", u"会社住所２", u"住所２", u"会社住所２"),
    Q2_TEXT(OfficeTel_1, HalfWidth, u"会社電話", u"会社電話", u"電話", u"会社電話"),
    Q2_TEXT(OfficeTel_2, HalfWidth, u"会社電話/FAX", u"会社電話/FAX", u"電話/FAX", u"会社電話/FAX"),
    Q2_TEXT(OfficeMail_1, HalfWidth, u"会社メール１", u"会社メール１", u"メール１",
            u"会社メール１"),
    Q2_TEXT(OfficeMail_2, HalfWidth, u"会社メール２", u"会社メール２", u"メール２",
            u"会社メール２"),
    Q2_TEXT(OfficeHomePage, HalfWidth, u"会社HP", u"会社HP", u"HP", u"会社ホームページ"),
    Q2_TEXT(OfficePost, AsGiven, u"部署", u"部署", u"部署", u"会社部署"),
    Q2_TEXT(OfficeOfficialPosition, AsGiven, u"役職", u"役職", u"役職", u"会社役職"),
    Q2_JOINT(1, PrintName, u"連名１", u"連名１", u"連名１名前"),
    Q2_JOINT(1, HonorificTitle, u"連名１敬称", u"連名１敬称", u"連名１敬称"),
    Q2_JOINT(2, PrintName, u"連名２", u"連名２", u"連名２名前"),
    Q2_JOINT(2, HonorificTitle, u"連名２敬称", u"連名２敬称", u"連名２敬称"),
    Q2_JOINT(3, PrintName, u"連名３", u"連名３", u"連名３名前"),
    Q2_JOINT(3, HonorificTitle, u"連名３敬称", u"連名３敬称", u"連名３敬称"),
    Q2_JOINT(4, PrintName, u"連名４", u"連名４", u"連名４名前"),
    Q2_JOINT(4, HonorificTitle, u"連名４敬称", u"連名４敬称", u"連名４敬称"),
    {
        .Id = Id::CommonMemo,
        .Name = "CommonMemo",
        .ListCaption = u"備考",
        .SearchCaption = u"備考",
        .ExportCaption = u"備考",
        .CsvCaption = u"備考",
        .Member = &TUserInfo::CommonMemo,
        .MultiLine = true,
    },
    {
        .Id = Id::CommonPrintCheck,
        .Name = "CommonPrintCheck",
        .ListCaption = u"印刷",
        .SearchCaption = u"印刷チェック",
        .Get = [](const TUserInfo& r,
                  QDate) { return r.CommonPrintCheck ? QStringLiteral("●") : QString(); },
        .SearchGet = [](const TUserInfo& r,
                        QDate) { return PrintCheckDisplayName(r.CommonPrintCheck); },
        .SortNumber = [](const TUserInfo& r, QDate) { return Flag(r.CommonPrintCheck); },
    },
    {
        .Id = Id::CommonUseTypePersonal,
        .Name = "CommonUseTypePersonal",
        .ListCaption = u"印刷住所",
        .SearchCaption = u"印刷住所",
        .Get = [](const TUserInfo& r,
                  QDate) { return UseTypeDisplayName(r.CommonUseTypePersonal); },
        .SortNumber = [](const TUserInfo& r, QDate) { return Flag(r.CommonUseTypePersonal); },
    },
    {
        .Id = Id::CommonRegistDate,
        .Name = "CommonRegistDate",
        .ListCaption = u"登録日",
        .SearchCaption = u"登録日",
        .ExportCaption = u"登録日",
        .CsvCaption = u"登録日",
        .Get = [](const TUserInfo& r, QDate) { return DateText(r.CommonRegistDate); },
        .SortNumber = [](const TUserInfo& r, QDate) { return DateKey(r.CommonRegistDate); },
    },
    {
        .Id = Id::CommonBirthday,
        .Name = "CommonBirthday",
        .ListCaption = u"生年月日",
        .SearchCaption = u"生年月日",
        .ExportCaption = u"生年月日",
        .CsvCaption = u"生年月日",
        .Get = [](const TUserInfo& r, QDate) { return DateText(r.CommonBirthday); },
        .Set =
            [](TUserInfo& r, const QString& text, const QDateTime& now) {
                const QDate date = ParseDate(ToHalfWidth(text));
                r.CommonBirthday = date.isValid() ? MakeDateTime(date) : now;
            },
        .SortNumber = [](const TUserInfo& r, QDate) { return DateKey(r.CommonBirthday); },
    },
    Q2_TEXT(CommonCategory_1, AsGiven, u"分類１", u"分類１", u"分類１", u"分類１"),
    Q2_TEXT(CommonCategory_2, AsGiven, u"分類２", u"分類２", u"分類２", u"分類２"),
    Q2_TEXT(CommonInsertStr_1, AsGiven, u"差込1", u"差込１", u"差込１", u"差込１"),
    Q2_TEXT(CommonInsertStr_2, AsGiven, u"差込2", u"差込２", u"差込２", u"差込２"),
    Q2_TEXT(CommonInsertStr_3, AsGiven, u"差込3", u"差込３", u"差込３", u"差込３"),
    Q2_TEXT(CommonInsertStr_4, AsGiven, u"差込4", u"差込４", u"差込４", u"差込４"),
    {
        .Id = Id::PersonalFullName,
        .Name = "PersonalFullName",
        .ListCaption = u"名前",
        .SearchCaption = u"個人名前",
        .ExportCaption = u"名前",
        .CsvCaption = u"個人名前",
        .Get = [](const TUserInfo& r, QDate) { return r.PersonalFullName(); },
        .Set = &SetNameHalves<&TUserInfo::PerSonalName_1, &TUserInfo::PerSonalName_2>,
    },
    {
        .Id = Id::PersonalFullNameKana,
        .Name = "PersonalFullNameKana",
        .ListCaption = u"フリガナ",
        .SearchCaption = u"個人フリガナ",
        .ExportCaption = u"フリガナ",
        .CsvCaption = u"個人フリガナ",
        .Get = [](const TUserInfo& r, QDate) { return r.PersonalFullNameKana(); },
        .Set = &SetNameHalves<&TUserInfo::PerSonalKana_1, &TUserInfo::PerSonalKana_2>,
    },
    {
        .Id = Id::PersonalFullZip,
        .Name = "PersonalFullZip",
        .ListCaption = u"郵便番号",
        .SearchCaption = u"個人郵便番号",
        .ExportCaption = u"郵便番号",
        .CsvCaption = u"個人郵便番号",
        .Get = [](const TUserInfo& r, QDate) { return r.PersonalFullZip(); },
        .Set = &SetZipHalves<&TUserInfo::PerSonalZip_1, &TUserInfo::PerSonalZip_2>,
    },
    {
        .Id = Id::OfficeFullZip,
        .Name = "OfficeFullZip",
        .ListCaption = u"会社郵便番号",
        .SearchCaption = u"会社郵便番号",
        .ExportCaption = u"郵便番号",
        .CsvCaption = u"会社郵便番号",
        .Get = [](const TUserInfo& r, QDate) { return r.OfficeFullZip(); },
        .Set = &SetZipHalves<&TUserInfo::OfficeZip_1, &TUserInfo::OfficeZip_2>,
    },
    {
        .Id = Id::CommonHistoryOneLine,
        .Name = "CommonHistoryOneLine",
        .SearchCaption = u"履歴",
        .ExportCaption = u"履歴",
        .CsvCaption = u"履歴",
        .Get = [](const TUserInfo& r, QDate) { return r.CommonHistoryOneLine(); },
        // The entries are added to the history the record has.
        .Set =
            [](TUserInfo& r, const QString& text, const QDateTime&) {
                for (THistoryObject& h : ParseHistoryText(text))
                    r.CommonHistoryObjectList.Add(std::move(h));
            },
        .MultiLine = true,
    },
};

#undef Q2_TEXT
#undef Q2_JOINT

static_assert(std::size(kFields) == kRecordFieldCount);
static_assert(
    [] {
        for (int i = 0; i < kRecordFieldCount; ++i)
            if (static_cast<int>(kFields[i].Id) != i) return false;
        return true;
    }(),
    "the table is in the order of the ids");

}  // namespace

QString TRecordField::Text(const TUserInfo& r, QDate today) const {
    return Get ? Get(r, today) : r.*Member;
}

QString TRecordField::SearchText(const TUserInfo& r, QDate today) const {
    return SearchGet ? SearchGet(r, today) : Text(r, today);
}

QString TRecordField::ExportText(const TUserInfo& r, QDate today) const {
    return ExportGet ? ExportGet(r, today) : Text(r, today);
}

void TRecordField::SetText(TUserInfo& r, const QString& text, const QDateTime& now) const {
    if (Set) {
        Set(r, text, now);
        return;
    }
    if (!Member) return;
    switch (Form) {
        case TTextForm::AsGiven:
            r.*Member = text;
            break;
        case TTextForm::HalfWidth:
            r.*Member = ToHalfWidth(text);
            break;
        case TTextForm::FullWidth:
            r.*Member = ToFullWidth(text);
            break;
    }
}

const TRecordField& RecordField(TRecordFieldId id) {
    return kFields[static_cast<int>(id)];
}

std::span<const TRecordField> RecordFields() {
    return kFields;
}

const std::vector<TUserInfoTextField>& UserInfoTextFields() {
    static const std::vector<TUserInfoTextField> fields = [] {
        std::vector<TUserInfoTextField> texts;
        for (const TRecordField& f : kFields)
            if (f.Member) texts.push_back({f.Name, f.Member});
        return texts;
    }();
    return fields;
}

namespace {

using F = TRecordFieldId;
constexpr TRecordFieldId kAddressListFields[] = {
    F::CommonPrintCheck,
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
    F::CommonBirthday,
    F::PersonalAge,
    F::PersonalSex,
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
    F::CommonJointNameObj_1_PrintName,
    F::CommonJointNameObj_1_HonorificTitle,
    F::CommonJointNameObj_2_PrintName,
    F::CommonJointNameObj_2_HonorificTitle,
    F::CommonJointNameObj_3_PrintName,
    F::CommonJointNameObj_3_HonorificTitle,
    F::CommonJointNameObj_4_PrintName,
    F::CommonJointNameObj_4_HonorificTitle,
    F::CommonCategory_1,
    F::CommonCategory_2,
    F::CommonInsertStr_1,
    F::CommonInsertStr_2,
    F::CommonInsertStr_3,
    F::CommonInsertStr_4,
    F::CommonUseTypePersonal,
    F::CommonRegistDate,
    F::CommonMemo,
};

}  // namespace

std::span<const TRecordFieldId> AddressListFields() { return kAddressListFields; }

}  // namespace q2
