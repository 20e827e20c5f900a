// Derived texts of the address record.
#include "UserInfo.h"

#include <algorithm>

#include <QRegularExpression>

#include "platform/Clock.h"
#include "platform/WidthMap.h"

namespace q2 {

QString SexDisplayName(TThSex sex) {
    switch (sex) {
        case TThSex::tsMale: return QStringLiteral("男性");
        case TThSex::tsFemale: return QStringLiteral("女性");
        default: return QStringLiteral("未設定");
    }
}

QString PrintCheckDisplayName(bool print) {
    return print ? QStringLiteral("印刷する") : QStringLiteral("印刷しない");
}

QString UseTypeDisplayName(bool personal) {
    return personal ? QStringLiteral("個人用") : QStringLiteral("会社用");
}

bool SplitPostalCode(const QString& text, QString* first, QString* second) {
    QString z = ToHalfWidth(text).trimmed();
    z.remove(u'〒');
    // The dashes a spreadsheet or a phone may put between the halves.
    for (QChar dash : {QChar(0x2010), QChar(0x2011), QChar(0x2012), QChar(0x2013), QChar(0x2014),
                       QChar(0x2015), QChar(0x2212), QChar(0x30FC), QChar(0xFF70)})
        z.replace(dash, u'-');
    z = z.trimmed();
    static const QRegularExpression japanese(QStringLiteral("^(\\d{3})\\s*-?\\s*(\\d{4})?$"));
    const auto m = japanese.match(z);
    if (!m.hasMatch()) return false;
    *first = m.captured(1);
    *second = m.captured(2);
    return true;
}

QString FormatDate(QDate date) {
    if (!date.isValid()) date = ZeroDate();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", date.year(), date.month(), date.day());
    return QString::fromLatin1(buf);
}

QDate ParseDate(QStringView text) {
    const QStringView t = text.trimmed();
    int parts[3] = {0, 0, 0};
    int part = 0, digits = 0;
    for (QChar c : t) {
        if (c == u'/') {
            if (digits == 0 || ++part > 2) return QDate();
            digits = 0;
        } else if (c >= u'0' && c <= u'9') {
            if (++digits > 4) return QDate();
            parts[part] = parts[part] * 10 + (c.unicode() - u'0');
        } else {
            return QDate();
        }
    }
    if (part != 2 || digits == 0) return QDate();
    const QDate d(parts[0], parts[1], parts[2]);
    return d.isValid() ? d : QDate();
}

void THistoryObjectList::Sort(
    const std::function<bool(const THistoryObject&, const THistoryObject&)>& less) {
    std::stable_sort(items_.begin(), items_.end(), less);
}

int TPicture::StoredKind() const {
    if (Data.isEmpty()) return 0;
    switch (Kind) {
        case TPictureKind::Bitmap:
        case TPictureKind::Metafile:
        case TPictureKind::Jpeg:
        case TPictureKind::Png: return static_cast<int>(Kind);
        default: return 0;
    }
}

TPictureKind DetectPictureKind(const QByteArray& d) {
    if (d.startsWith("BM")) return TPictureKind::Bitmap;
    if (d.startsWith("\xFF\xD8\xFF")) return TPictureKind::Jpeg;
    if (d.startsWith("\x89PNG\r\n\x1A\n")) return TPictureKind::Png;
    // Placeable metafile key, plain metafile header, or an enhanced metafile.
    if (d.startsWith("\xD7\xCD\xC6\x9A") || d.startsWith(QByteArray("\x01\x00\x09\x00", 4)) ||
        d.startsWith(QByteArray("\x02\x00\x09\x00", 4)) ||
        (d.size() >= 44 && d.mid(40, 4) == " EMF"))
        return TPictureKind::Metafile;
    return TPictureKind::Other;
}

QString JoinZip(const QString& first, const QString& second) {
    const bool a = !Trim(first).isEmpty(), b = !Trim(second).isEmpty();
    if (a && b) return first + QLatin1Char('-') + second;
    if (a || b) return first + second;
    return QStringLiteral(" ");
}

std::vector<THistoryObject> ParseHistoryText(const QString& text) {
    static const QString kDate = QStringLiteral("[日付]"), kTitle = QStringLiteral("[項目]"),
                         kContent = QStringLiteral("[内容]");
    std::vector<THistoryObject> entries;
    // Line breaks of any kind divide entries.
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(u'\r', u'\n');
    for (const QString& line : t.split(u'\n')) {
        if (!line.contains(kDate, Qt::CaseInsensitive) ||
            !line.contains(kTitle, Qt::CaseInsensitive) ||
            !line.contains(kContent, Qt::CaseInsensitive))
            continue;
        const qsizetype at = line.indexOf(kDate, 0, Qt::CaseInsensitive);
        const QString afterDate = line.mid(at + kDate.size());
        const qsizetype cut = afterDate.indexOf(kTitle, 0, Qt::CaseInsensitive);
        const QString dateText = cut < 0 ? afterDate : afterDate.left(cut);
        const QString rest = cut < 0 ? QString() : afterDate.mid(cut + kTitle.size());
        const QDate date = ParseDate(dateText);
        if (!date.isValid()) continue;
        const qsizetype c = rest.indexOf(kContent, 0, Qt::CaseInsensitive);
        THistoryObject h;
        h.HistoryDate = date;
        h.HistoryTitle = c < 0 ? rest : rest.left(c);
        h.HistoryContent = c < 0 ? QString() : rest.mid(c + kContent.size());
        entries.push_back(std::move(h));
    }
    return entries;
}

int TUserInfo::PersonalAge(QDate today) const {
    const QDate b = CommonBirthday.date();
    int age = today.year() - b.year();
    if (today.month() < b.month() || (today.month() == b.month() && today.day() < b.day())) --age;
    return age;
}

int TUserInfo::PersonalAge() const { return PersonalAge(Today()); }

QString TUserInfo::PersonalAgeText(QDate today) const {
    return HasBirthday() ? QString::number(PersonalAge(today)) : QString();
}

QString TUserInfo::PersonalAgeText() const { return PersonalAgeText(Today()); }

QString TUserInfo::PersonalFullName() const {
    return PerSonalName_1 + QLatin1Char(' ') + PerSonalName_2;
}

QString TUserInfo::PersonalFullNameKana() const {
    return PerSonalKana_1 + QLatin1Char(' ') + PerSonalKana_2;
}

QString TUserInfo::PersonalFullZip() const { return JoinZip(PerSonalZip_1, PerSonalZip_2); }

QString TUserInfo::OfficeFullZip() const { return JoinZip(OfficeZip_1, OfficeZip_2); }

QString TUserInfo::CommonHistoryOneLine() const {
    QString out;
    bool first = true;
    for (const THistoryObject& h : CommonHistoryObjectList) {
        if (!first) out += QLatin1String("\r\n");
        first = false;
        out += QStringLiteral("[日付]") + FormatDate(h.HistoryDate) + QStringLiteral("[項目]") +
               h.HistoryTitle + QStringLiteral("[内容]") + h.HistoryContent;
    }
    return out;
}

TJointNameObject& TUserInfo::JointName(int i) {
    TJointNameObject* all[] = {&CommonJointNameObj_1, &CommonJointNameObj_2,
                               &CommonJointNameObj_3, &CommonJointNameObj_4};
    return *all[i];
}

const TJointNameObject& TUserInfo::JointName(int i) const {
    return const_cast<TUserInfo*>(this)->JointName(i);
}

}  // namespace q2
