// q2tool dump and create: an address book as JSON and back.
//
// The JSON lists records, and each record's history, in file order, which is
// the order a load gives; create writes them so that this holds again.
#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

#include "Command.h"
#include "model/UserInfoList.h"

namespace q2tool {
namespace {

using namespace q2;

QJsonObject JointToJson(const TJointNameObject& j) {
    return {{"PrintData", j.PrintData}, {"PrintName", j.PrintName},
            {"HonorificTitle", j.HonorificTitle}};
}

QJsonObject RecordToJson(const TUserInfo& r) {
    QJsonObject o;
    for (const TUserInfoTextField& f : UserInfoTextFields())
        o.insert(QLatin1String(f.Name), r.*f.Member);
    o.insert("PersonalSex", static_cast<int>(r.PersonalSex));
    for (int i = 0; i < 4; ++i)
        o.insert(QStringLiteral("CommonJointNameObj_%1").arg(i + 1), JointToJson(r.JointName(i)));
    QJsonArray history;
    for (const THistoryObject& h : r.CommonHistoryObjectList)
        history.append(QJsonObject{{"HistoryDate", FormatDate(h.HistoryDate)},
                                   {"HistoryTitle", h.HistoryTitle},
                                   {"HistoryContent", h.HistoryContent}});
    o.insert("CommonHistoryObjectList", history);
    o.insert("CommonPrintCheck", r.CommonPrintCheck);
    o.insert("CommonUseTypePersonal", r.CommonUseTypePersonal);
    o.insert("CommonRegistDate", FormatDate(r.CommonRegistDate.date()));
    o.insert("CommonBirthday", FormatDate(r.CommonBirthday.date()));
    if (r.CommonImg_1.StoredKind() == 0) {
        o.insert("CommonImg_1", QJsonValue::Null);
    } else {
        o.insert("CommonImg_1",
                 QJsonObject{{"kind", r.CommonImg_1.StoredKind()},
                             {"size", r.CommonImg_1.Data.size()},
                             {"sha256", QString::fromLatin1(QCryptographicHash::hash(
                                            r.CommonImg_1.Data, QCryptographicHash::Sha256)
                                                                .toHex())}});
    }
    o.insert("PersonalAge", r.PersonalAge());
    o.insert("PersonalFullName", r.PersonalFullName());
    o.insert("PersonalFullNameKana", r.PersonalFullNameKana());
    o.insert("PersonalFullZip", r.PersonalFullZip());
    o.insert("OfficeFullZip", r.OfficeFullZip());
    o.insert("CommonHistoryOneLine", r.CommonHistoryOneLine());
    return o;
}

// Reads a date property; false with a message when it is not "yyyy/mm/dd".
bool DateFromJson(const QJsonObject& o, const char* key, QDate* out, QString* error) {
    if (!o.contains(QLatin1String(key))) return true;
    const QDate d = ParseDate(o.value(QLatin1String(key)).toString());
    if (!d.isValid()) {
        *error = QStringLiteral("%1: not a date (yyyy/mm/dd)").arg(QLatin1String(key));
        return false;
    }
    *out = d;
    return true;
}

bool RecordFromJson(const QJsonObject& o, TUserInfo& r, QString* error) {
    for (const TUserInfoTextField& f : UserInfoTextFields())
        r.*f.Member = o.value(QLatin1String(f.Name)).toString();
    const int sex = o.value("PersonalSex").toInt(0);
    if (sex < 0 || sex > 2) {
        *error = QStringLiteral("PersonalSex: must be 0, 1 or 2");
        return false;
    }
    r.PersonalSex = static_cast<TThSex>(sex);
    for (int i = 0; i < 4; ++i) {
        const QJsonObject j = o.value(QStringLiteral("CommonJointNameObj_%1").arg(i + 1)).toObject();
        r.JointName(i).PrintData = j.value("PrintData").toBool();
        r.JointName(i).PrintName = j.value("PrintName").toString();
        r.JointName(i).HonorificTitle = j.value("HonorificTitle").toString();
    }
    for (const QJsonValue& v : o.value("CommonHistoryObjectList").toArray()) {
        const QJsonObject h = v.toObject();
        THistoryObject e;
        e.HistoryDate = ZeroDate();
        if (!DateFromJson(h, "HistoryDate", &e.HistoryDate, error)) return false;
        e.HistoryTitle = h.value("HistoryTitle").toString();
        e.HistoryContent = h.value("HistoryContent").toString();
        r.CommonHistoryObjectList.Add(std::move(e));
    }
    r.CommonPrintCheck = o.value("CommonPrintCheck").toBool();
    r.CommonUseTypePersonal = o.value("CommonUseTypePersonal").toBool();
    QDate regist = ZeroDate(), birthday = ZeroDate();
    if (!DateFromJson(o, "CommonRegistDate", &regist, error) ||
        !DateFromJson(o, "CommonBirthday", &birthday, error))
        return false;
    r.CommonRegistDate = MakeDateTime(regist);
    r.CommonBirthday = MakeDateTime(birthday);
    const QJsonValue img = o.value("CommonImg_1");
    if (img.isObject()) {
        const int kind = img.toObject().value("kind").toInt();
        if (kind < 1 || kind > 4) {
            *error = QStringLiteral("CommonImg_1.kind: must be 1 (BMP), 2 (metafile), 3 (JPEG) or 4 (PNG)");
            return false;
        }
        r.CommonImg_1.Kind = static_cast<TPictureKind>(kind);
        r.CommonImg_1.Data =
            QByteArray::fromBase64(img.toObject().value("base64").toString().toLatin1());
    }
    return true;
}

int Dump(const QStringList& argsIn) {
    QStringList args = argsIn;
    const QString password = TakeOption(args, QStringLiteral("--password"));
    if (args.size() != 1) return PrintError(Commands()["dump"].Usage), kUsage;
    const QString stored = TUserInfoList::ReadPassword(args[0]);
    if (!stored.isEmpty() && stored != password) {
        PrintError(password.isEmpty() ? QStringLiteral("パスワードを入力してください (--password)")
                                      : QStringLiteral("パスワードが違います"));
        return kFailure;
    }
    TUserInfoList book;
    if (!book.LoadFromFile(args[0])) {
        PrintError(QStringLiteral(
            "指定されたファイルは、破損しているか本ソフト用のファイルではないため開けません"));
        return kFailure;
    }
    QJsonArray records;
    for (int i = 0; i < book.Count(); ++i) records.append(RecordToJson(*book.Item(i)));
    const QJsonObject root{{"password", book.Password}, {"records", records}};
    PrintOutBytes(QJsonDocument(root).toJson(QJsonDocument::Indented));
    return kOk;
}

int Create(const QStringList& args) {
    if (args.size() != 1) return PrintError(Commands()["create"].Usage), kUsage;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) return kFailure;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (!doc.isObject()) {
        PrintError(QStringLiteral("not a book in JSON: ") + parseError.errorString());
        return kFailure;
    }
    const QJsonObject root = doc.object();
    TUserInfoList book;
    book.Password = root.value("password").toString();
    book.HasPassword = !book.Password.isEmpty();
    const QJsonArray records = root.value("records").toArray();
    // The file holds the book last record first: build the book reversed so
    // that the file, and every later load, has the JSON's order.
    for (qsizetype i = records.size() - 1; i >= 0; --i) {
        auto r = std::make_unique<TUserInfo>();
        QString error;
        if (!RecordFromJson(records[i].toObject(), *r, &error)) {
            PrintError(QStringLiteral("record %1: %2").arg(i + 1).arg(error));
            return kFailure;
        }
        THistoryObjectList reversed;
        for (int h = r->CommonHistoryObjectList.Count() - 1; h >= 0; --h)
            reversed.Add(r->CommonHistoryObjectList.Item(h));
        r->CommonHistoryObjectList = reversed;
        book.Add(std::move(r));
    }
    const QList<TUnencodableField> bad = book.FindUnencodable();
    if (!bad.isEmpty()) {
        for (const TUnencodableField& f : bad) {
            // Report with the JSON's record numbering.
            const int number = f.Record < 0 ? 0 : book.Count() - f.Record;
            PrintError(QStringLiteral("record %1, %2: characters that cannot be saved: %3")
                           .arg(number).arg(f.Field, f.Text));
        }
        return kFailure;
    }
    if (!book.SaveToFile(args[0])) {
        PrintError(QStringLiteral("ファイルの保存に失敗しました"));
        return kFailure;
    }
    return kOk;
}

const Registrar dump(QStringLiteral("dump"),
                     {QStringLiteral("dump BOOK.QT2 [--password P]   the book as JSON"), Dump});
const Registrar create(QStringLiteral("create"),
                       {QStringLiteral("create BOOK.QT2 < book.json     writes a book from JSON"),
                        Create});

}  // namespace
}  // namespace q2tool
