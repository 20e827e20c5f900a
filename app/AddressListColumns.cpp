// Address list columns. Sorting builds one key per record and sorts the keys,
// so a 100,000-row list collates each text once rather than at every comparison.
#include "app/AddressListColumns.h"

#include <QCollator>
#include <QLocale>
#include "platform/Clock.h"
#include <algorithm>
#include <array>

namespace q2 {
namespace {

constexpr std::array<const char16_t*, kAddressListColumnCount> kCaptions = {
    u"印刷",       u"フリガナ",   u"名前",       u"敬称",         u"郵便番号",     u"住所１",
    u"住所２",     u"電話",       u"電話/FAX",   u"メール１",     u"メール２",     u"HP",
    u"生年月日",   u"年齢",       u"性別",       u"フリガナ",     u"会社名",       u"会社郵便番号",
    u"会社住所１", u"会社住所２", u"会社電話",   u"会社電話/FAX", u"会社メール１", u"会社メール２",
    u"会社HP",     u"部署",       u"役職",       u"連名１",       u"連名１敬称",   u"連名２",
    u"連名２敬称", u"連名３",     u"連名３敬称", u"連名４",       u"連名４敬称",   u"分類１",
    u"分類２",     u"差込1",      u"差込2",      u"差込3",        u"差込4",        u"印刷住所",
    u"登録日",     u"備考",
};

using F = TRecordFieldId;
constexpr std::array<TRecordFieldId, kAddressListColumnCount> kColumnFields = {
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

constexpr std::array<int, kAddressListColumnCount> kWidths = {
    60,  200, 200, 80,  150, 300, 400, 200, 200, 220, 220, 320, 125, 0,   0,
    300, 300, 150, 300, 400, 200, 200, 220, 220, 320, 200, 200, 120, 110, 120,
    110, 120, 110, 120, 110, 150, 150, 100, 100, 100, 100, 100, 125, 400,
};

// The text field a column shows and sorts by, for the columns that are one.
const QString* TextField(const TUserInfo& r, int column) {
    switch (column) {
        case 3:
            return &r.PerSonalHonorificTitle;
        case 5:
            return &r.PerSonalAddress_1;
        case 6:
            return &r.PerSonalAddress_2;
        case 7:
            return &r.PerSonalTel_1;
        case 8:
            return &r.PerSonalTel_2;
        case 9:
            return &r.PerSonalMail_1;
        case 10:
            return &r.PerSonalMail_2;
        case 11:
            return &r.PerSonalHomePage;
        case 15:
            return &r.OfficeKana;
        case 16:
            return &r.OfficeName;
        case 18:
            return &r.OfficeAddress_1;
        case 19:
            return &r.OfficeAddress_2;
        case 20:
            return &r.OfficeTel_1;
        case 21:
            return &r.OfficeTel_2;
        case 22:
            return &r.OfficeMail_1;
        case 23:
            return &r.OfficeMail_2;
        case 24:
            return &r.OfficeHomePage;
        case 25:
            return &r.OfficePost;
        case 26:
            return &r.OfficeOfficialPosition;
        case 35:
            return &r.CommonCategory_1;
        case 36:
            return &r.CommonCategory_2;
        case 37:
            return &r.CommonInsertStr_1;
        case 38:
            return &r.CommonInsertStr_2;
        case 39:
            return &r.CommonInsertStr_3;
        case 40:
            return &r.CommonInsertStr_4;
        case 43:
            return &r.CommonMemo;
        default:
            break;
    }
    if (column >= 27 && column <= 34) {
        const TJointNameObject& j = r.JointName((column - 27) / 2);
        return (column - 27) % 2 == 0 ? &j.PrintName : &j.HonorificTitle;
    }
    return nullptr;
}

// Sort keys that are not collated texts.
enum class KeyKind { Text, Number };

KeyKind KindOf(int column) {
    switch (column) {
        case 0:
        case 12:
        case 13:
        case 14:
        case 41:
        case 42:
            return KeyKind::Number;
        default:
            return KeyKind::Text;
    }
}

qint64 NumberKey(const TUserInfo& r, int column, QDate today) {
    switch (column) {
        case 0:
            return r.CommonPrintCheck ? 1 : 0;
        case 41:
            return r.CommonUseTypePersonal ? 1 : 0;
        case 12:
            return r.CommonBirthday.date().toJulianDay();
        case 42:
            return r.CommonRegistDate.date().toJulianDay();
        case 13:
            // Records without a birthday sort before every age.
            return r.HasBirthday() ? r.PersonalAge(today) : -1;
        case 14:
            // By the enumeration's names: tsFemale, tsMale, tsNone.
            switch (r.PersonalSex) {
                case TThSex::tsFemale:
                    return 0;
                case TThSex::tsMale:
                    return 1;
                case TThSex::tsNone:
                    return 2;
            }
            return 2;
        default:
            return 0;
    }
}

QString TextKey(const TUserInfo& r, int column) {
    switch (column) {
        case 1:
            return r.PersonalFullNameKana();
        case 2:
            return r.PersonalFullName();
        case 4:
            return r.PersonalFullZip();
        case 17:
            return r.OfficeFullZip();
        default:
            break;
    }
    const QString* field = TextField(r, column);
    return field ? *field : QString();
}

const QCollator& JapaneseCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::Japanese, QLocale::Japan));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

template <typename Key>
void SortByKeys(TDisplayList& list, std::vector<std::pair<Key, TUserInfo*>>& keyed, bool ascending,
                auto compare) {
    if (ascending)
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            return compare(a.first, b.first) < 0;
        });
    else
        std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
            return compare(a.first, b.first) > 0;
        });
    for (size_t i = 0; i < keyed.size(); ++i) list[i] = keyed[i].second;
}

}  // namespace

const TRecordField* AddressListColumnField(int column) {
    if (column < 0 || column >= kAddressListColumnCount) return nullptr;
    return &RecordField(kColumnFields[column]);
}

QString ColumnCaption(int column) {
    if (column < 0 || column >= kAddressListColumnCount) return QString();
    return QString::fromUtf16(kCaptions[column]);
}

int ColumnWidth(int column) {
    return column < 0 || column >= kAddressListColumnCount ? 0 : kWidths[column];
}

QString ColumnText(const TUserInfo& r, int column) {
    switch (column) {
        case 0:
            return r.CommonPrintCheck ? QStringLiteral("●") : QString();
        case 1:
            return r.PersonalFullNameKana();
        case 2:
            return r.PersonalFullName();
        case 4:
            return r.PersonalFullZip();
        case 12:
            return FormatDate(r.CommonBirthday.date());
        case 13:
            return r.PersonalAgeText();
        case 14:
            return SexDisplayName(r.PersonalSex);
        case 17:
            return r.OfficeFullZip();
        case 41:
            return r.CommonUseTypePersonal ? QStringLiteral("個人用") : QStringLiteral("会社用");
        case 42:
            return FormatDate(r.CommonRegistDate.date());
        default:
            break;
    }
    const QString* field = TextField(r, column);
    return field ? *field : QString();
}

void SortDisplayList(TDisplayList& list, int column, bool ascending) {
    if (KindOf(column) == KeyKind::Number) {
        std::vector<std::pair<qint64, TUserInfo*>> keyed;
        keyed.reserve(list.size());
        // One clock reading for the whole sort: ages must not change mid-sort.
        const QDate today = Today();
        for (TUserInfo* r : list) keyed.emplace_back(NumberKey(*r, column, today), r);
        SortByKeys(list, keyed, ascending,
                   [](qint64 a, qint64 b) { return a < b ? -1 : (a > b ? 1 : 0); });
        return;
    }
    const QCollator& collator = JapaneseCollator();
    std::vector<std::pair<QCollatorSortKey, TUserInfo*>> keyed;
    keyed.reserve(list.size());
    for (TUserInfo* r : list) keyed.emplace_back(collator.sortKey(TextKey(*r, column)), r);
    SortByKeys(list, keyed, ascending,
               [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b); });
}

}  // namespace q2
