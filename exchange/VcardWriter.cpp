// Composing vCards from address records.
#include "VcardWriter.h"

#include <QUuid>

#include "exchange/VcardNames.h"

namespace q2 {
namespace {

QString Escape(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u',' || c == u';') {
            out.append(u'\\').append(c);
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out.append(QLatin1String("\\n"));
        } else {
            out.append(c);
        }
    }
    return out;
}

QString Structured(std::initializer_list<QString> parts) {
    QStringList escaped;
    for (const QString& p : parts) escaped << Escape(p);
    return escaped.join(u';');
}

class CardWriter {
public:
    CardWriter(QByteArray& out, TVcardVersion v) : out_(out), v4_(v == TVcardVersion::V40) {}

    bool V4() const { return v4_; }

    // A property whose value is already escaped.
    void Raw(QByteArrayView head, const QString& value) {
        QByteArray line = head.toByteArray();
        line += ':';
        line += value.toUtf8();
        Fold(line);
    }
    void Text(QByteArrayView head, const QString& value) { Raw(head, Escape(value)); }
    void TextIfAny(QByteArrayView head, const QString& value) {
        if (!value.isEmpty()) Text(head, value);
    }
    // A TYPE parameter in the letter case each version writes.
    QByteArray Type(const char* types) const {
        return ";TYPE=" + (v4_ ? QByteArray(types).toLower() : QByteArray(types));
    }

private:
    // Lines longer than 75 bytes go on after CR LF and a space, never
    // inside a UTF-8 sequence.
    void Fold(const QByteArray& line) {
        qsizetype pos = 0, limit = 75;
        while (line.size() - pos > limit) {
            qsizetype cut = pos + limit;
            while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
            out_.append(line.constData() + pos, cut - pos);
            out_.append("\r\n ");
            pos = cut;
            limit = 74;
        }
        out_.append(line.constData() + pos, line.size() - pos);
        out_.append("\r\n");
    }

    QByteArray& out_;
    bool v4_;
};

QString Date(const QDateTime& d, bool v4) {
    const bool time = d.time() != QTime(0, 0);
    if (v4) return d.toString(time ? QStringLiteral("yyyyMMddThhmmss") : QStringLiteral("yyyyMMdd"));
    return d.toString(time ? QStringLiteral("yyyy-MM-ddThh:mm:ss") : QStringLiteral("yyyy-MM-dd"));
}

// "100-0001"; a half alone as it is; an empty first half keeps its hyphen
// so that the second half comes back in its place.
QString Zip(const QString& first, const QString& second) {
    if (second.isEmpty()) return first;
    return first + u'-' + second;
}

void WriteSide(CardWriter& w, const char* type, const QString& zip1, const QString& zip2,
               const QString& address1, const QString& address2, const QString& tel1,
               const QString& tel2, const QString& mail1, const QString& mail2,
               const QString& homePage) {
    const QByteArray t = w.Type(type);
    if (!(zip1 + zip2 + address1 + address2).isEmpty())
        w.Raw("ADR" + t, Structured({QString(), address2, address1, QString(), QString(),
                                     Zip(zip1, zip2), QString()}));
    const QString tels[] = {tel1, tel2}, mails[] = {mail1, mail2};
    for (int i = 0; i < 2; ++i) {
        const QByteArray slot = QByteArray(";") + vcard::kSlot + "=" + QByteArray::number(i + 1);
        if (!tels[i].isEmpty()) w.Text("TEL" + w.Type(type) + (w.V4() ? "" : ",VOICE") + slot, tels[i]);
        if (!mails[i].isEmpty())
            w.Text("EMAIL" + (w.V4() ? t : w.Type(type) + ",INTERNET") + slot, mails[i]);
    }
    // The import gives a missing home page "http://": only other values are written.
    if (homePage.isEmpty()) w.Raw(QByteArray(vcard::kUrl) + t, QString());
    else if (homePage != QLatin1String("http://")) w.Text("URL" + t, homePage);
}

void WritePhoto(CardWriter& w, const TPicture& picture) {
    if (picture.IsEmpty()) return;
    const char* type = nullptr;
    switch (picture.Kind) {
        case TPictureKind::Jpeg: type = "JPEG"; break;
        case TPictureKind::Png: type = "PNG"; break;
        case TPictureKind::Bitmap: type = "BMP"; break;
        case TPictureKind::Metafile: type = "WMF"; break;
        default: return;
    }
    const QString data = QString::fromLatin1(picture.Data.toBase64());
    if (w.V4())
        w.Raw("PHOTO", QStringLiteral("data:image/%1;base64,").arg(QString::fromLatin1(type).toLower()) + data);
    else
        w.Raw(QByteArray("PHOTO;ENCODING=b;TYPE=") + type, data);
}

}  // namespace

bool ParseVcardVersion(const QString& text, TVcardVersion* version) {
    if (text == u"3.0") *version = TVcardVersion::V30;
    else if (text == u"4.0") *version = TVcardVersion::V40;
    else return false;
    return true;
}

QByteArray ComposeVcard(const TUserInfo& r, TVcardVersion version, const QString& uid) {
    QByteArray out;
    CardWriter w(out, version);
    const bool v4 = w.V4();
    w.Raw("BEGIN", QStringLiteral("VCARD"));
    w.Raw("VERSION", v4 ? QStringLiteral("4.0") : QStringLiteral("3.0"));
    w.Raw("PRODID", QStringLiteral("-//Zabelle//Quintaro2//JA"));
    w.Text("UID", uid.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : uid);
    const QString kana = (r.PerSonalKana_1 + u' ' + r.PerSonalKana_2).trimmed();
    QByteArray nHead = "N";
    if (v4 && !kana.isEmpty()) {
        QString sortAs = Escape(r.PerSonalKana_1) + u',' + Escape(r.PerSonalKana_2);
        sortAs.replace(u'"', u'\'');
        nHead += ";SORT-AS=\"" + sortAs.toUtf8() + "\"";
    }
    w.Raw(nHead, Structured({r.PerSonalName_1, r.PerSonalName_2, QString(), QString(), QString()}));
    QString fn = (r.PerSonalName_1 + u' ' + r.PerSonalName_2).trimmed();
    if (fn.isEmpty()) fn = r.OfficeName;
    w.Text("FN", fn);
    w.TextIfAny("X-PHONETIC-LAST-NAME", r.PerSonalKana_1);
    w.TextIfAny("X-PHONETIC-FIRST-NAME", r.PerSonalKana_2);
    if (!v4) w.TextIfAny("SORT-STRING", kana);
    if (r.PerSonalHonorificTitle != u"様") w.Text(vcard::kHonorific, r.PerSonalHonorificTitle);
    WriteSide(w, "HOME", r.PerSonalZip_1, r.PerSonalZip_2, r.PerSonalAddress_1, r.PerSonalAddress_2,
              r.PerSonalTel_1, r.PerSonalTel_2, r.PerSonalMail_1, r.PerSonalMail_2,
              r.PerSonalHomePage);
    WriteSide(w, "WORK", r.OfficeZip_1, r.OfficeZip_2, r.OfficeAddress_1, r.OfficeAddress_2,
              r.OfficeTel_1, r.OfficeTel_2, r.OfficeMail_1, r.OfficeMail_2, r.OfficeHomePage);
    if (!(r.OfficeName + r.OfficePost).isEmpty())
        w.Raw("ORG", Structured({r.OfficeName, r.OfficePost}));
    w.TextIfAny("X-PHONETIC-ORG", r.OfficeKana);
    w.TextIfAny("TITLE", r.OfficeOfficialPosition);
    if (r.CommonBirthday.date() == ZeroDate())
        w.Raw(vcard::kBirthday, Date(r.CommonBirthday, false));
    else
        w.Raw("BDAY", Date(r.CommonBirthday, v4));
    if (r.PersonalSex != TThSex::tsNone) {
        if (v4) w.Raw("GENDER", r.PersonalSex == TThSex::tsMale ? QStringLiteral("M") : QStringLiteral("F"));
        else w.Raw(vcard::kSex, QString::number(static_cast<int>(r.PersonalSex)));
    }
    w.TextIfAny("NOTE", r.CommonMemo);
    QStringList categories;
    for (const QString& c : {r.CommonCategory_1, r.CommonCategory_2})
        if (!c.isEmpty()) categories << Escape(c);
    if (!categories.isEmpty()) w.Raw("CATEGORIES", categories.join(u','));
    const QString* own[] = {&r.CommonCategory_1, &r.CommonCategory_2, &r.CommonInsertStr_1,
                            &r.CommonInsertStr_2, &r.CommonInsertStr_3, &r.CommonInsertStr_4};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = i < 2 ? vcard::kCategory + QByteArray::number(i + 1)
                                      : vcard::kInsert + QByteArray::number(i - 1);
        w.TextIfAny(name, *own[i]);
    }
    for (int i = 0; i < 4; ++i) {
        const TJointNameObject& j = r.JointName(i);
        if (j == TJointNameObject{false, QString(), QStringLiteral("様")}) continue;
        w.Raw(vcard::kJointName, Structured({QString::number(i + 1), j.PrintData ? "1" : "0",
                                             j.PrintName, j.HonorificTitle}));
    }
    for (const THistoryObject& h : r.CommonHistoryObjectList)
        w.Raw(vcard::kHistory, Structured({h.HistoryDate.toString(QStringLiteral("yyyy-MM-dd")),
                                           h.HistoryTitle, h.HistoryContent}));
    w.Raw(vcard::kPrint, r.CommonPrintCheck ? QStringLiteral("1") : QStringLiteral("0"));
    // Always written: the import decides the side from the addresses otherwise.
    w.Raw(vcard::kUse,
          r.CommonUseTypePersonal ? QStringLiteral("PERSONAL") : QStringLiteral("OFFICE"));
    w.Raw(vcard::kRegistDate, r.CommonRegistDate.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
    WritePhoto(w, r.CommonImg_1);
    w.Raw("END", QStringLiteral("VCARD"));
    return out;
}

QByteArray ComposeVcards(const TUserInfoList& book, TVcardVersion version,
                         const std::function<void(int)>& progress, const QStringList& uids) {
    QByteArray out;
    for (int i = 0; i < book.Count(); ++i) {
        out += ComposeVcard(*book.Item(i), version, uids.value(i));
        if (progress) progress(i);
    }
    return out;
}

}  // namespace q2
