// The address record and the small value types it is made of.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace q2 {

enum class TThSex : unsigned char { tsNone = 0, tsMale = 1, tsFemale = 2 };

// "未設定", "男性", "女性".
QString SexDisplayName(TThSex sex);
// "印刷する" or "印刷しない": CommonPrintCheck in words.
QString PrintCheckDisplayName(bool print);
// "個人用" or "会社用": the side CommonUseTypePersonal chooses.
QString UseTypeDisplayName(bool personal);

// Day 0 of the date-time values the files are built on.
// Date-time values of records are plain calendar values without a time zone;
// they are held as UTC values so that no zone conversion ever runs
// (a local-time QDateTime costs a zone lookup on every construction).
inline QDateTime MakeDateTime(QDate date, QTime time = QTime(0, 0)) {
    return QDateTime(date, time, Qt::UTC);
}
// The clock's local "now" as such a value.
inline QDateTime MakeDateTime(const QDateTime& local) {
    return QDateTime(local.date(), local.time(), Qt::UTC);
}
inline QDate ZeroDate() { return QDate(1899, 12, 30); }
inline QDateTime ZeroDateTime() { return MakeDateTime(ZeroDate()); }

// The program's one date format, "yyyy/mm/dd", and its parser; an invalid
// date gives a null QDate.
QString FormatDate(QDate date);
QDate ParseDate(QStringView text);

// A Japanese postal code ("150-0002", "1500002", "１５０－０００２", "〒150")
// as its two boxes; false for anything else (a foreign code).
bool SplitPostalCode(const QString& text, QString* first, QString* second);

struct TJointNameObject {
    bool PrintData = false;
    QString PrintName;
    QString HonorificTitle;
    bool operator==(const TJointNameObject&) const = default;
};

struct THistoryObject {
    QDate HistoryDate;  // the date of the entry; a new entry carries today
    QString HistoryTitle;
    QString HistoryContent;
    bool operator==(const THistoryObject&) const = default;
};

// A record's history, in list order; it owns its entries.
class THistoryObjectList {
public:
    void Add(THistoryObject entry) { items_.push_back(std::move(entry)); }
    THistoryObject& Item(int i) { return items_.at(i); }
    const THistoryObject& Item(int i) const { return items_.at(i); }
    int Count() const { return static_cast<int>(items_.size()); }
    void Delete(int i) { items_.erase(items_.begin() + i); }
    void Clear() { items_.clear(); }
    void Sort(const std::function<bool(const THistoryObject&, const THistoryObject&)>& less);
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    bool operator==(const THistoryObjectList&) const = default;

private:
    std::vector<THistoryObject> items_;
};

// The stored picture kinds; any other image (an icon, say) is never stored.
enum class TPictureKind : int { None = 0, Bitmap = 1, Metafile = 2, Jpeg = 3, Png = 4, Other = -1 };

// A picture kept as its file bytes, so that it is saved exactly as it came.
struct TPicture {
    TPictureKind Kind = TPictureKind::None;
    QByteArray Data;
    // Set when the bytes were read but no decoder accepts them; the picture
    // is kept and saved unchanged, only not shown.
    bool Undecodable = false;

    bool IsEmpty() const { return Kind == TPictureKind::None || Data.isEmpty(); }
    // The kind stored in files: 0 for none and for kinds never stored.
    int StoredKind() const;
    bool operator==(const TPicture& o) const { return Kind == o.Kind && Data == o.Data; }
};

// Guesses the kind of an image file from its first bytes.
TPictureKind DetectPictureKind(const QByteArray& data);

class TUserInfo {
public:
    QString PerSonalKana_1;
    QString PerSonalKana_2;
    QString PerSonalName_1;
    QString PerSonalName_2;
    QString PerSonalHonorificTitle;
    QString PerSonalZip_1;
    QString PerSonalZip_2;
    QString PerSonalAddress_1;
    QString PerSonalAddress_2;
    QString PerSonalTel_1;
    QString PerSonalTel_2;
    QString PerSonalMail_1;
    QString PerSonalMail_2;
    QString PerSonalHomePage;
    TThSex PersonalSex = TThSex::tsNone;
    QString OfficeKana;
    QString OfficeName;
    QString OfficeZip_1;
    QString OfficeZip_2;
    QString OfficeAddress_1;
    QString OfficeAddress_2;
    QString OfficeTel_1;
    QString OfficeTel_2;
    QString OfficeMail_1;
    QString OfficeMail_2;
    QString OfficeHomePage;
    QString OfficePost;
    QString OfficeOfficialPosition;
    TJointNameObject CommonJointNameObj_1;
    TJointNameObject CommonJointNameObj_2;
    TJointNameObject CommonJointNameObj_3;
    TJointNameObject CommonJointNameObj_4;
    QString CommonMemo;
    THistoryObjectList CommonHistoryObjectList;
    bool CommonPrintCheck = false;
    bool CommonUseTypePersonal = false;
    QDateTime CommonRegistDate = ZeroDateTime();
    QDateTime CommonBirthday = ZeroDateTime();
    QString CommonCategory_1;
    QString CommonCategory_2;
    QString CommonInsertStr_1;
    QString CommonInsertStr_2;
    QString CommonInsertStr_3;
    QString CommonInsertStr_4;
    TPicture CommonImg_1;

    // Derived texts, computed from the fields on every call.
    int PersonalAge(QDate today) const;
    int PersonalAge() const;  // as of the program clock's today
    // The zero date (1899/12/30) is what the file holds for "no birthday".
    bool HasBirthday() const { return CommonBirthday.date() != ZeroDate(); }
    // The age as the list, the editor and the print list show it: empty
    // without a birthday, where PersonalAge would count from 1899.
    QString PersonalAgeText(QDate today) const;
    QString PersonalAgeText() const;
    QString PersonalFullName() const;
    QString PersonalFullNameKana() const;
    QString PersonalFullZip() const;
    QString OfficeFullZip() const;
    QString CommonHistoryOneLine() const;

    // The four joint names by index 0…3.
    TJointNameObject& JointName(int i);
    const TJointNameObject& JointName(int i) const;

    bool operator==(const TUserInfo&) const = default;
};

// Joins two postal code halves the way both sides of a record do.
QString JoinZip(const QString& first, const QString& second);

// The history entries a text in the form of CommonHistoryOneLine holds, in
// text order; lines without a valid date are left out.
std::vector<THistoryObject> ParseHistoryText(const QString& text);

// Every stored text property of a record, by its property name, in the
// order of the record's property table. Joint names and history are not in it.
struct TUserInfoTextField {
    const char* Name;
    QString TUserInfo::*Member;
};
const std::vector<TUserInfoTextField>& UserInfoTextFields();

}  // namespace q2
