// The fields of an address record as the views of the records see them: the
// address list, the search, the CSV export and import and the print lists each
// keep a list of field ids and take captions, texts and setters from here.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <span>

#include "model/UserInfo.h"

namespace q2 {

// Every field a view shows or writes, in the order of the record's property
// table, the derived texts last. The picture and the joint names' print marks
// are no text of any view and are not here.
enum class TRecordFieldId : int {
    PerSonalKana_1,
    PerSonalKana_2,
    PerSonalName_1,
    PerSonalName_2,
    PerSonalHonorificTitle,
    PerSonalZip_1,
    PerSonalZip_2,
    PerSonalAddress_1,
    PerSonalAddress_2,
    PerSonalTel_1,
    PerSonalTel_2,
    PerSonalMail_1,
    PerSonalMail_2,
    PerSonalHomePage,
    PersonalSex,
    PersonalAge,
    OfficeKana,
    OfficeName,
    OfficeZip_1,
    OfficeZip_2,
    OfficeAddress_1,
    OfficeAddress_2,
    OfficeTel_1,
    OfficeTel_2,
    OfficeMail_1,
    OfficeMail_2,
    OfficeHomePage,
    OfficePost,
    OfficeOfficialPosition,
    CommonJointNameObj_1_PrintName,
    CommonJointNameObj_1_HonorificTitle,
    CommonJointNameObj_2_PrintName,
    CommonJointNameObj_2_HonorificTitle,
    CommonJointNameObj_3_PrintName,
    CommonJointNameObj_3_HonorificTitle,
    CommonJointNameObj_4_PrintName,
    CommonJointNameObj_4_HonorificTitle,
    CommonMemo,
    CommonPrintCheck,
    CommonUseTypePersonal,
    CommonRegistDate,
    CommonBirthday,
    CommonCategory_1,
    CommonCategory_2,
    CommonInsertStr_1,
    CommonInsertStr_2,
    CommonInsertStr_3,
    CommonInsertStr_4,
    PersonalFullName,
    PersonalFullNameKana,
    PersonalFullZip,
    OfficeFullZip,
    CommonHistoryOneLine,
};
constexpr int kRecordFieldCount = static_cast<int>(TRecordFieldId::CommonHistoryOneLine) + 1;

// How a setter keeps the text of a stored text property.
enum class TTextForm { AsGiven, HalfWidth, FullWidth };

struct TRecordField {
    using Getter = QString (*)(const TUserInfo&, QDate today);
    using Setter = void (*)(TUserInfo&, const QString& text, const QDateTime& now);
    using SortGetter = qint64 (*)(const TUserInfo&, QDate today);

    TRecordFieldId Id;
    // The property name; a joint name's parts are "CommonJointNameObj_1.PrintName".
    const char* Name;
    // Each view's caption; empty where the view does not offer the field.
    QStringView ListCaption = {};    // the address list and the print dialog's list
    QStringView SearchCaption = {};  // the search's topic box
    QStringView ExportCaption = {};  // the export dialog's check box
    QStringView CsvCaption = {};     // the CSV header line and the import destination
    // A plain text property: read and written through this member, kept in `Form`.
    QString TUserInfo::*Member = nullptr;
    TTextForm Form = TTextForm::AsGiven;
    // Fields that are no plain text property, or whose text differs between views.
    Getter Get = nullptr;
    Getter SearchGet = nullptr;  // the search's text where it is not Get's
    Getter ExportGet = nullptr;  // the CSV export's text where it is not Get's
    Setter Set = nullptr;
    // Sorted by this number instead of the collated text.
    SortGetter SortNumber = nullptr;
    // The text may hold line breaks (CR LF).
    bool MultiLine = false;

    // The text the address list, the print dialog's list and the list print show.
    // Ages are counted on `today`; without one, on the program clock's today,
    // which is then read only for an age.
    QString Text(const TUserInfo& record, QDate today = QDate()) const;
    QString SearchText(const TUserInfo& record, QDate today = QDate()) const;
    QString ExportText(const TUserInfo& record, QDate today = QDate()) const;

    bool Writable() const { return Set || Member; }
    // Stores a text as the CSV import gives it, line breaks as CR LF; `now`
    // stands in for a date that does not parse. Does nothing to a read-only field.
    void SetText(TUserInfo& record, const QString& text, const QDateTime& now) const;

    bool SortsByNumber() const { return SortNumber != nullptr; }
    qint64 SortKey(const TUserInfo& record, QDate today = QDate()) const {
        return SortNumber(record, today);
    }
};

const TRecordField& RecordField(TRecordFieldId id);
std::span<const TRecordField> RecordFields();

// The columns of the address list, its print mark first. The print dialog's
// list shows the same columns without the print mark.
std::span<const TRecordFieldId> AddressListFields();

}  // namespace q2
