// Which vCard property goes into which field of a new record.
#include "VcardImport.h"

#include <QRegularExpression>
#include <algorithm>

#include <QImage>

#include "exchange/CsvHeaderMapping.h"
#include "exchange/CsvImport.h"
#include "exchange/VcardNames.h"
#include "platform/WidthMap.h"

namespace q2 {
namespace {

const QString kFullSpace = QStringLiteral("　");

bool IsHalfWidthKana(QChar c) { return c.unicode() >= 0xFF65 && c.unicode() <= 0xFF9F; }

// Text with no Japanese script in it: "1600 Main St", "rue de l'Université".
bool IsWestern(const QString& s) {
    return std::none_of(s.begin(), s.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
               (u >= 0xFF00 && u <= 0xFFEF);
    });
}

// Line breaks of any kind as the record keeps them: CR LF.
QString CrLf(QString text) {
    if (!text.contains(u'\n') && !text.contains(u'\r')) return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.replace(u'\n', QLatin1String("\r\n"));
    return text;
}

QString Text(const TVcardProperty& p) { return VcardUnescape(VcardRawText(p)); }

QStringList Components(const TVcardProperty& p, QChar separator = u';') {
    return VcardComponents(VcardRawText(p), separator);
}

QString At(const QStringList& parts, int i) { return i < parts.size() ? parts[i].trimmed() : QString(); }

// "1970-01-05", "19700105", either with a time after "T"; a date without a
// year ("--0105") gives an invalid value.
QDateTime ParseVcardDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(\d{4})-?(\d{2})-?(\d{2})(?:T(\d{2}):?(\d{2})(?::?(\d{2}))?)?)"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return {};
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return {};
    QTime time(0, 0);
    if (m.capturedLength(4) > 0) {
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (!time.isValid()) time = QTime(0, 0);
    }
    return MakeDateTime(date, time);
}

// Family and given name from a formatted name: split at the first space of
// either width.
std::pair<QString, QString> SplitFullName(const QString& name) {
    const QString t = name.trimmed();
    qsizetype at = -1;
    for (qsizetype i = 0; i < t.size(); ++i)
        if (t[i] == u' ' || t[i] == kFullSpace[0]) {
            at = i;
            break;
        }
    if (at < 0) return {t, QString()};
    return {t.left(at), t.mid(at + 1).trimmed()};
}

struct Side {
    QString* Zip1;
    QString* Zip2;
    QString* Address1;
    QString* Address2;
    QString* Tel[2];
    QString* Mail[2];
    QString* HomePage;
};

Side Personal(TUserInfo& r) {
    return {&r.PerSonalZip_1, &r.PerSonalZip_2, &r.PerSonalAddress_1, &r.PerSonalAddress_2,
            {&r.PerSonalTel_1, &r.PerSonalTel_2}, {&r.PerSonalMail_1, &r.PerSonalMail_2},
            &r.PerSonalHomePage};
}
Side Office(TUserInfo& r) {
    return {&r.OfficeZip_1, &r.OfficeZip_2, &r.OfficeAddress_1, &r.OfficeAddress_2,
            {&r.OfficeTel_1, &r.OfficeTel_2}, {&r.OfficeMail_1, &r.OfficeMail_2},
            &r.OfficeHomePage};
}

// The two lines of an address. A Japanese address is written from the
// prefecture down: region, locality and the street's first line make line 1;
// the rest of the street, the extended address (building, room), the post
// office box and a foreign country make line 2. An address without Japanese
// script keeps the Western order instead. A postal code that is no Japanese one
// cannot go into the boxes: it is returned with the whole address for the
// memo, and the boxes stay empty.
QString StoreAddress(const QStringList& adr, const Side& side) {
    const QString poBox = At(adr, 0), extended = At(adr, 1), locality = At(adr, 3),
                  region = At(adr, 4), code = At(adr, 5), country = At(adr, 6);
    QStringList street = CrLf(adr.value(2)).split(QLatin1String("\r\n"));
    for (QString& s : street) s = s.trimmed();
    street.removeAll(QString());
    const QString streetFirst = street.value(0);
    const QStringList streetRest = street.mid(1);
    static const QStringList japan = {QStringLiteral("日本"), QStringLiteral("JAPAN"),
                                      QStringLiteral("JP"), QStringLiteral("日本国")};
    const bool foreign = !country.isEmpty() && !japan.contains(country.toUpper());
    QStringList line2 = streetRest;
    if (!extended.isEmpty()) line2 << extended;
    if (!poBox.isEmpty()) line2 << poBox;
    if (IsWestern(streetFirst + locality + region + extended)) {
        *side.Address1 = streetFirst;
        QString place = locality;
        if (!region.isEmpty()) place += (place.isEmpty() ? QString() : QStringLiteral(", ")) + region;
        if (!place.isEmpty()) line2 << place;
    } else {
        *side.Address1 = region + locality + streetFirst;
    }
    if (foreign) line2 << country;
    *side.Address2 = line2.join(u' ');
    if (code.isEmpty()) return {};
    if (!foreign && SplitPostalCode(code, side.Zip1, side.Zip2)) return {};
    const bool letters =
        std::any_of(code.begin(), code.end(), [](QChar c) { return c.isLetter(); });
    if (!foreign && !letters) {
        // A code the user wrote oddly ("-0001"): its halves as written.
        const QString z = ToHalfWidth(code).trimmed();
        const qsizetype dash = z.indexOf(u'-');
        *side.Zip1 = dash < 0 ? z : z.left(dash);
        *side.Zip2 = dash < 0 ? QString() : z.mid(dash + 1);
        return {};
    }
    QStringList whole = {*side.Address1, *side.Address2, code};
    whole.removeAll(QString());
    return QStringLiteral("住所（郵便番号 %1）: %2").arg(code, whole.join(u' '));
}

// "03-1234-5678;ext=102", "tel:+81-3-1234-5678;ext=102" and "03-1234-5678 x102"
// keep the extension as a Japanese card shows it: "03-1234-5678 内線102".
QString TelWithExtension(QString v) {
    static const QRegularExpression ext(
        QStringLiteral("\\s*(?:;\\s*ext=|\\b(?:ext\\.?|x)\\s*|内線\\s*)(\\d+)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = ext.match(v);
    if (!m.hasMatch()) return v;
    const QString number = m.captured(1);
    v.truncate(m.capturedStart());
    return v.trimmed() + QStringLiteral(" 内線") + number;
}

// A joint name or history entry as written (components escaped), or after a
// library read it as one text and escaped every ";" again: then the text
// splits at each ";", and what runs over goes to the part that may hold it.
QStringList OwnComponents(const TVcardProperty& p, int count, int openPart) {
    QStringList parts = Components(p);
    if (parts.size() >= count) return parts;
    QStringList flat = Text(p).split(u';');
    if (flat.size() <= parts.size()) return parts;
    while (flat.size() > count) {
        flat[openPart] += u';' + flat[openPart + 1];
        flat.removeAt(openPart + 1);
    }
    return flat;
}

// Apple's grouped properties: "item1.ADR" with "item1.X-ABLabel:会社".
using TGroupLabels = QMap<QByteArray, QString>;

bool IsWorkIn(const TVcardProperty& p, const TGroupLabels& labels) {
    if (p.HasType("WORK")) return true;
    if (p.HasType("HOME") || p.Group.isEmpty()) return false;
    QString label = labels.value(p.Group);
    // "_$!<Work>!$_" is Apple's own word for the standard labels.
    label.remove(QStringLiteral("_$!<")).remove(QStringLiteral(">!$_"));
    return IsWorkLabel(label);
}

int Slot(const TVcardProperty& p) {
    const QByteArray s = p.Param(vcard::kSlot);
    return s == "1" ? 0 : s == "2" ? 1 : -1;
}

// Puts a value into the first free of two fields, or into the one the
// property names; false when there is no room.
bool StoreInPair(QString* const pair[2], const QString& value, int slot, bool faxFirst) {
    if (slot >= 0) {
        *pair[slot] = value;
        return true;
    }
    const int order[2] = {faxFirst ? 1 : 0, faxFirst ? 0 : 1};
    for (int i : order)
        if (pair[i]->isEmpty()) {
            *pair[i] = value;
            return true;
        }
    return false;
}

// Properties taken in by the general pass or consumed elsewhere; anything
// else is reported as skipped.
bool IsSilentlyIgnored(const QByteArray& name) {
    static const QByteArray names[] = {"PRODID",       "REV",         "UID",       "LABEL",
                                       "KIND",         "SOURCE",      "NAME",      "PROFILE",
                                       "CLIENTPIDMAP", "X-IRMC-LUID", "X-ABLABEL", "X-ABADR"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

void Skip(TVcardSkipped* skipped, const QString& what) {
    if (skipped) ++(*skipped)[what];
}

TThSex SexOf(const QString& v) {
    const QString t = v.trimmed().toUpper();
    if (t == u"M" || t == u"MALE" || t == u"男性" || t == u"1") return TThSex::tsMale;
    if (t == u"F" || t == u"FEMALE" || t == u"女性" || t == u"2") return TThSex::tsFemale;
    return TThSex::tsNone;
}

}  // namespace

QString ReadingToKatakana(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (!IsHalfWidthKana(text[i])) {
            out.append(text[i++]);
            continue;
        }
        qsizetype j = i;
        while (j < text.size() && IsHalfWidthKana(text[j])) ++j;
        out.append(ToFullWidth(QStringView(text).sliced(i, j - i)));
        i = j;
    }
    return ToKatakana(out);
}

TUserInfo VcardToRecord(const TVcardCard& card, const QDateTime& now, TVcardSkipped* skipped) {
    TUserInfo r;
    ApplyImportDefaults(r, now);
    const Side personal = Personal(r), office = Office(r);

    // Readings in the order of preference: the phonetic name properties,
    // a Japanese phone's SOUND, the sort string.
    QString phoneticLast, phoneticFirst, sound1, sound2, sort1, sort2, formatted;
    bool haveName = false, haveBirthday = false, photoTaken = false, homeUrl = false,
         workUrl = false, ownCategories = false;
    QStringList categories;
    QDateTime ownBirthday;

    // Preferred numbers and addresses first, each group in card order.
    std::vector<const TVcardProperty*> props;
    for (const TVcardProperty& p : card.Properties) props.push_back(&p);
    std::stable_sort(props.begin(), props.end(), [](const TVcardProperty* a, const TVcardProperty* b) {
        return a->IsPreferred() && !b->IsPreferred();
    });
    bool homeAdr = false, workAdr = false, ownUse = false;
    QStringList notes;  // foreign addresses, for the memo
    TGroupLabels labels;
    for (const TVcardProperty& p : card.Properties)
        if (p.Name == "X-ABLABEL" && !p.Group.isEmpty()) labels[p.Group] = Text(p).trimmed();

    for (const TVcardProperty* pp : props) {
        const TVcardProperty& p = *pp;
        const QByteArray& n = p.Name;
        if (n == "N") {
            const QStringList parts = Components(p);
            r.PerSonalName_1 = At(parts, 0);
            QStringList given = {At(parts, 1)};
            if (!At(parts, 2).isEmpty()) given << At(parts, 2);
            r.PerSonalName_2 = given.join(u' ').trimmed();
            haveName = !r.PerSonalName_1.isEmpty() || !r.PerSonalName_2.isEmpty();
            const QByteArray sortAs = p.Param("SORT-AS");
            if (!sortAs.isEmpty()) {
                const QStringList s = VcardComponents(QString::fromUtf8(sortAs), u',');
                sort1 = At(s, 0);
                sort2 = At(s, 1);
            }
        } else if (n == "FN") {
            formatted = Text(p);
        } else if (n == "X-PHONETIC-LAST-NAME") {
            phoneticLast = Text(p).trimmed();
        } else if (n == "X-PHONETIC-FIRST-NAME") {
            phoneticFirst = Text(p).trimmed();
        } else if (n == "X-PHONETIC-ORG") {
            r.OfficeKana = ReadingToKatakana(Text(p).trimmed());
        } else if (n == "SOUND" && (p.HasType("X-IRMC-N") || p.HasType("X-IRMC-NAME"))) {
            const QStringList parts = Components(p);
            sound1 = At(parts, 0);
            sound2 = At(parts, 1);
            // Some phones put the whole reading in the first part.
            if (sound2.isEmpty()) std::tie(sound1, sound2) = SplitFullName(sound1);
        } else if (n == "SORT-STRING") {
            std::tie(sort1, sort2) = SplitFullName(Text(p));
        } else if (n == "ADR") {
            const bool work = IsWorkIn(p, labels);
            const bool typed = work || p.HasType("HOME") || labels.contains(p.Group);
            bool& taken = work ? workAdr : homeAdr;
            QString note;
            // An address without a type goes to the private side, or to the
            // office side when the private one is taken.
            if (!typed && homeAdr && !workAdr) {
                note = StoreAddress(Components(p), office);
                workAdr = true;
            } else if (taken) {
                Skip(skipped, QStringLiteral("ADR（入りきらない分）"));
            } else {
                note = StoreAddress(Components(p), work ? office : personal);
                taken = true;
            }
            if (!note.isEmpty()) notes << note;
        } else if (n == "TEL") {
            const Side& side = IsWorkIn(p, labels) ? office : personal;
            QString v = ToHalfWidth(Text(p).trimmed());
            // 4.0 writes numbers as "tel:" addresses.
            if (v.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) v = v.mid(4);
            if (v.isEmpty()) continue;
            v = TelWithExtension(v);
            if (!StoreInPair(side.Tel, v, Slot(p), p.HasType("FAX")))
                Skip(skipped, QStringLiteral("TEL（入りきらない分）"));
        } else if (n == "EMAIL") {
            const Side& side = IsWorkIn(p, labels) ? office : personal;
            const QString v = ToHalfWidth(Text(p).trimmed());
            if (v.isEmpty()) continue;
            if (!StoreInPair(side.Mail, v, Slot(p), false))
                Skip(skipped, QStringLiteral("EMAIL（入りきらない分）"));
        } else if (n == "URL" || n == vcard::kUrl) {
            const bool work = IsWorkIn(p, labels);
            bool& taken = work ? workUrl : homeUrl;
            if (taken) {
                Skip(skipped, QStringLiteral("URL（入りきらない分）"));
                continue;
            }
            *(work ? office : personal).HomePage = ToHalfWidth(Text(p).trimmed());
            taken = true;
        } else if (n == "ORG") {
            const QStringList parts = Components(p);
            r.OfficeName = At(parts, 0);
            QStringList units = parts.mid(1);
            for (QString& u : units) u = u.trimmed();
            units.removeAll(QString());
            r.OfficePost = units.join(u' ');
        } else if (n == "TITLE") {
            r.OfficeOfficialPosition = Text(p).trimmed();
        } else if (n == "BDAY") {
            const QDateTime d = ParseVcardDate(Text(p));
            if (d.isValid()) {
                r.CommonBirthday = d;
                haveBirthday = true;
            } else {
                Skip(skipped, QStringLiteral("BDAY（年月日のない日付）"));
            }
        } else if (n == "NOTE") {
            const QString note = CrLf(Text(p));
            r.CommonMemo = r.CommonMemo.isEmpty() ? note : r.CommonMemo + QStringLiteral("\r\n") + note;
        } else if (n == "CATEGORIES") {
            // The groups a webmail service gives every contact say nothing.
            static const QStringList system = {QStringLiteral("myContacts"),
                                               QStringLiteral("starred")};
            for (const QString& c : Components(p, u','))
                if (!c.trimmed().isEmpty() && !system.contains(c.trimmed()))
                    categories << c.trimmed();
        } else if (n == "PHOTO") {
            const QByteArray data = VcardBinary(p);
            const TPictureKind kind = DetectPictureKind(data);
            if (photoTaken) {
                Skip(skipped, QStringLiteral("PHOTO（2枚目以降）"));
            } else if (data.isEmpty() || kind == TPictureKind::Other) {
                Skip(skipped, QStringLiteral("PHOTO（読めない画像・URL）"));
            } else if (kind != TPictureKind::Metafile && QImage::fromData(data).isNull()) {
                // A picture that looks like a JPEG but does not decode would
                // show as an empty frame and print as nothing.
                Skip(skipped, QStringLiteral("PHOTO（壊れた画像）"));
            } else {
                r.CommonImg_1.Kind = kind;
                r.CommonImg_1.Data = data;
                photoTaken = true;
            }
        } else if (n == "GENDER" || n == "X-GENDER") {
            r.PersonalSex = SexOf(Components(p).value(0));
        } else if (n.startsWith(vcard::kPrefix)) {
            const QString v = Text(p);
            if (n == vcard::kHonorific) {
                r.PerSonalHonorificTitle = v;
            } else if (n == vcard::kSex) {
                r.PersonalSex = SexOf(v);
            } else if (n == vcard::kPrint) {
                r.CommonPrintCheck = v.trimmed() == u"1";
            } else if (n == vcard::kUse) {
                r.CommonUseTypePersonal = v.trimmed().toUpper() != u"OFFICE";
                ownUse = true;
            } else if (n == vcard::kRegistDate) {
                const QDateTime d = ParseVcardDate(v);
                if (d.isValid()) r.CommonRegistDate = d;
            } else if (n == vcard::kBirthday) {
                ownBirthday = ParseVcardDate(v);
            } else if (n == vcard::kJointName) {
                const QStringList parts = OwnComponents(p, 4, 2);
                const int index = At(parts, 0).toInt() - 1;
                if (index < 0 || index > 3) continue;
                TJointNameObject& j = r.JointName(index);
                j.PrintData = At(parts, 1) == u"1";
                j.PrintName = parts.value(2);
                j.HonorificTitle = parts.value(3);
            } else if (n == vcard::kHistory) {
                const QStringList parts = OwnComponents(p, 3, 2);
                const QDateTime d = ParseVcardDate(At(parts, 0));
                if (!d.isValid()) continue;
                r.CommonHistoryObjectList.Add({d.date(), CrLf(parts.value(1)), CrLf(parts.value(2))});
            } else if (n.startsWith(vcard::kCategory)) {
                const QByteArray which = n.mid(qstrlen(vcard::kCategory));
                if (which == "1") r.CommonCategory_1 = v;
                if (which == "2") r.CommonCategory_2 = v;
                ownCategories = true;
            } else if (n.startsWith(vcard::kInsert)) {
                const int which = n.mid(qstrlen(vcard::kInsert)).toInt();
                QString TUserInfo::*const inserts[] = {
                    &TUserInfo::CommonInsertStr_1, &TUserInfo::CommonInsertStr_2,
                    &TUserInfo::CommonInsertStr_3, &TUserInfo::CommonInsertStr_4};
                if (which >= 1 && which <= 4) r.*inserts[which - 1] = CrLf(v);
            }
        } else if (!IsSilentlyIgnored(n)) {
            Skip(skipped, QString::fromLatin1(n));
        }
    }

    if (!haveName && !formatted.trimmed().isEmpty())
        std::tie(r.PerSonalName_1, r.PerSonalName_2) = SplitFullName(formatted);
    if (!phoneticLast.isEmpty() || !phoneticFirst.isEmpty()) {
        r.PerSonalKana_1 = ReadingToKatakana(phoneticLast);
        r.PerSonalKana_2 = ReadingToKatakana(phoneticFirst);
    } else if (!sound1.isEmpty() || !sound2.isEmpty()) {
        r.PerSonalKana_1 = ReadingToKatakana(sound1);
        r.PerSonalKana_2 = ReadingToKatakana(sound2);
    } else {
        r.PerSonalKana_1 = ReadingToKatakana(sort1);
        r.PerSonalKana_2 = ReadingToKatakana(sort2);
    }
    if (!haveBirthday && ownBirthday.isValid()) r.CommonBirthday = ownBirthday;
    if (!notes.isEmpty()) {
        const QString text = notes.join(QStringLiteral("\r\n"));
        r.CommonMemo = r.CommonMemo.isEmpty() ? text : r.CommonMemo + QStringLiteral("\r\n") + text;
    }
    if (!ownUse) FinishImportedRecord(r);
    if (!ownCategories) {
        r.CommonCategory_1 = categories.value(0);
        r.CommonCategory_2 = categories.value(1);
        for (qsizetype i = 2; i < categories.size(); ++i)
            Skip(skipped, QStringLiteral("CATEGORIES（3つ目以降）"));
    }
    return r;
}

TVcardImport ConvertVcards(QByteArrayView bytes, const QDateTime& now) {
    TVcardImport out;
    const std::vector<TVcardCard> cards = ParseVcards(bytes);
    out.Records.reserve(cards.size());
    for (const TVcardCard& c : cards) {
        out.Records.push_back(VcardToRecord(c, now, &out.Skipped));
        out.OwnPrintMark.push_back(
            std::any_of(c.Properties.begin(), c.Properties.end(),
                        [](const TVcardProperty& p) { return p.Name == vcard::kPrint; }));
    }
    return out;
}

void SetPrintMarkOfOtherCards(TVcardImport& cards, bool print) {
    for (size_t i = 0; i < cards.Records.size(); ++i)
        if (i >= cards.OwnPrintMark.size() || !cards.OwnPrintMark[i])
            cards.Records[i].CommonPrintCheck = print;
}

int AppendRecords(std::vector<TUserInfo>&& records, TUserInfoList& book,
                  const std::function<void(int)>& progress) {
    int added = 0;
    for (TUserInfo& r : records) {
        book.Add(std::make_unique<TUserInfo>(std::move(r)));
        if (progress) progress(added);
        ++added;
    }
    records.clear();
    return added;
}

namespace {

struct PreviewField {
    const char16_t* Destination;
    QString (*Text)(const TUserInfo&);
};

QString Joined(const QString& a, const QString& b) {
    return b.isEmpty() ? a : a.isEmpty() ? b : a + u' ' + b;
}

QString OneLine(QString s) {
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    return s;
}

QString JointText(const TJointNameObject& j) {
    return Joined(j.PrintName, j.HonorificTitle) + (j.PrintData ? QStringLiteral("（印刷）") : QString());
}

const PreviewField kPreview[] = {
    {u"個人フリガナ", [](const TUserInfo& r) { return Joined(r.PerSonalKana_1, r.PerSonalKana_2); }},
    {u"個人名前", [](const TUserInfo& r) { return Joined(r.PerSonalName_1, r.PerSonalName_2); }},
    {u"個人敬称", [](const TUserInfo& r) { return r.PerSonalHonorificTitle; }},
    {u"個人郵便番号", [](const TUserInfo& r) { return r.PersonalFullZip().trimmed(); }},
    {u"個人住所１", [](const TUserInfo& r) { return r.PerSonalAddress_1; }},
    {u"個人住所２", [](const TUserInfo& r) { return r.PerSonalAddress_2; }},
    {u"個人電話", [](const TUserInfo& r) { return r.PerSonalTel_1; }},
    {u"個人電話/FAX", [](const TUserInfo& r) { return r.PerSonalTel_2; }},
    {u"個人メール１", [](const TUserInfo& r) { return r.PerSonalMail_1; }},
    {u"個人メール２", [](const TUserInfo& r) { return r.PerSonalMail_2; }},
    {u"個人ホームページ", [](const TUserInfo& r) { return r.PerSonalHomePage; }},
    {u"会社フリガナ", [](const TUserInfo& r) { return r.OfficeKana; }},
    {u"会社名", [](const TUserInfo& r) { return r.OfficeName; }},
    {u"会社郵便番号", [](const TUserInfo& r) { return r.OfficeFullZip().trimmed(); }},
    {u"会社住所１", [](const TUserInfo& r) { return r.OfficeAddress_1; }},
    {u"会社住所２", [](const TUserInfo& r) { return r.OfficeAddress_2; }},
    {u"会社電話", [](const TUserInfo& r) { return r.OfficeTel_1; }},
    {u"会社電話/FAX", [](const TUserInfo& r) { return r.OfficeTel_2; }},
    {u"会社メール１", [](const TUserInfo& r) { return r.OfficeMail_1; }},
    {u"会社メール２", [](const TUserInfo& r) { return r.OfficeMail_2; }},
    {u"会社ホームページ", [](const TUserInfo& r) { return r.OfficeHomePage; }},
    {u"会社部署", [](const TUserInfo& r) { return r.OfficePost; }},
    {u"会社役職", [](const TUserInfo& r) { return r.OfficeOfficialPosition; }},
    {u"生年月日", [](const TUserInfo& r) { return FormatDate(r.CommonBirthday.date()); }},
    {u"性別", [](const TUserInfo& r) {
         return r.PersonalSex == TThSex::tsNone ? QString() : SexDisplayName(r.PersonalSex);
     }},
    {u"分類１", [](const TUserInfo& r) { return r.CommonCategory_1; }},
    {u"分類２", [](const TUserInfo& r) { return r.CommonCategory_2; }},
    {u"連名１", [](const TUserInfo& r) { return JointText(r.CommonJointNameObj_1); }},
    {u"連名２", [](const TUserInfo& r) { return JointText(r.CommonJointNameObj_2); }},
    {u"連名３", [](const TUserInfo& r) { return JointText(r.CommonJointNameObj_3); }},
    {u"連名４", [](const TUserInfo& r) { return JointText(r.CommonJointNameObj_4); }},
    {u"差込１", [](const TUserInfo& r) { return r.CommonInsertStr_1; }},
    {u"差込２", [](const TUserInfo& r) { return r.CommonInsertStr_2; }},
    {u"差込３", [](const TUserInfo& r) { return r.CommonInsertStr_3; }},
    {u"差込４", [](const TUserInfo& r) { return r.CommonInsertStr_4; }},
    {u"備考", [](const TUserInfo& r) { return OneLine(r.CommonMemo); }},
    {u"履歴", [](const TUserInfo& r) { return OneLine(r.CommonHistoryOneLine()); }},
    {u"写真", [](const TUserInfo& r) {
         if (r.CommonImg_1.IsEmpty()) return QString();
         const char* kinds[] = {"", "BMP", "メタファイル", "JPEG", "PNG"};
         const int k = r.CommonImg_1.StoredKind();
         return QStringLiteral("%1 %2バイト")
             .arg(QString::fromUtf8(k >= 0 && k <= 4 ? kinds[k] : ""))
             .arg(r.CommonImg_1.Data.size());
     }},
};

}  // namespace

std::vector<std::pair<QString, QString>> VcardPreviewRows(const TUserInfo& record,
                                                          const QDateTime& now) {
    TUserInfo blank;
    ApplyImportDefaults(blank, now);
    std::vector<std::pair<QString, QString>> rows;
    for (const PreviewField& f : kPreview) {
        const QString v = f.Text(record);
        if (v != f.Text(blank)) rows.emplace_back(QString::fromUtf16(f.Destination), v);
    }
    return rows;
}

QString SkippedSummary(const TVcardSkipped& skipped) {
    QStringList parts;
    for (auto it = skipped.begin(); it != skipped.end(); ++it)
        parts << QStringLiteral("%1 %2件").arg(it.key()).arg(it.value());
    return parts.join(QStringLiteral("、"));
}

}  // namespace q2
