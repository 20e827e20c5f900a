// The checks before a bulk mail: characters ISO-2022-JP cannot carry in the
// templates and the values they take in, recipients without a usable address,
// and the names.
#include <QSet>

#include "mail/MailMessage.h"
#include "platform/WidthMap.h"
#include "preflight/Preflight.h"
#include "preflight/PreflightText.h"

namespace q2 {
namespace {

using Text = PreflightText;

// One finding per character a text cannot carry, each with its substitute.
void CheckCharset(int record, const QString& name, const QString& field, const QString& text,
                  QList<TPreflightFinding>& out) {
    QSet<char32_t> seen;
    for (char32_t c : text.toUcs4()) {
        if (Iso2022JpCarries(c) || seen.contains(c)) continue;
        seen.insert(c);
        const QString ch = QString::fromUcs4(&c, 1);
        TPreflightFinding f{record, name, field, TPreflightCode::MailCharset, Text::MailCharset(ch), {}, {}};
        const QString sub = MailSubstitute(c);
        if (!sub.isEmpty()) {
            f.Suggestion = Text::Substitute(ch, sub);
            f.Fix = {{field, ch, sub, false}};
        }
        out.append(f);
    }
}

// An address with blanks around it or typed in full-width letters, made usable.
QString CleanAddress(const QString& address) {
    QString s = address.trimmed();
    for (QChar& c : s)
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E) c = QChar(c.unicode() - 0xFEE0);
    return s;
}

bool Uses(const QString& subject, const QString& body, const char* placeholder) {
    return subject.contains(QLatin1String(placeholder), Qt::CaseInsensitive) ||
           body.contains(QLatin1String(placeholder), Qt::CaseInsensitive);
}

}  // namespace

QList<TPreflightFinding> CheckMail(const QList<const TUserInfo*>& records, const QString& subject,
                                   const QString& body) {
    QList<TPreflightFinding> out;
    CheckCharset(-1, QString(), QString::fromUtf8(kSubjectField), subject, out);
    CheckCharset(-1, QString(), QString::fromUtf8(kBodyField), body, out);

    // The record fields the placeholders of the templates take in.
    struct Value {
        const char* Placeholder;
        const char* Field;
        QString TUserInfo::*Member;
    };
    static const Value kValues[] = {
        {"[NAME]", "PerSonalName_1", &TUserInfo::PerSonalName_1},
        {"[NAME]", "PerSonalName_2", &TUserInfo::PerSonalName_2},
        {"[NAME_TITLE]", "PerSonalHonorificTitle", &TUserInfo::PerSonalHonorificTitle},
        {"[STR_1]", "CommonInsertStr_1", &TUserInfo::CommonInsertStr_1},
        {"[STR_2]", "CommonInsertStr_2", &TUserInfo::CommonInsertStr_2},
        {"[STR_3]", "CommonInsertStr_3", &TUserInfo::CommonInsertStr_3},
        {"[STR_4]", "CommonInsertStr_4", &TUserInfo::CommonInsertStr_4},
    };
    QList<const Value*> used;
    for (const Value& v : kValues)
        if (Uses(subject, body, v.Placeholder)) used.append(&v);

    for (qsizetype i = 0; i < records.size(); ++i) {
        const TUserInfo& r = *records[i];
        const int index = int(i);
        const QString name = DisplayName(r);
        const QString addressField =
            QString::fromLatin1(r.CommonUseTypePersonal ? "PerSonalMail_1" : "OfficeMail_1");
        const QString address = RecipientAddress(r);
        if (Trim(address).isEmpty()) {
            out.append({index, name, addressField, TPreflightCode::MailNoAddress, Text::MailNoAddress(), {}, {}});
        } else if (!IsUsableMailAddress(address)) {
            TPreflightFinding f{index, name, addressField, TPreflightCode::MailUnsafeAddress,
                                Text::MailUnsafeAddress(address), {}, {}};
            const QString clean = CleanAddress(address);
            if (IsUsableMailAddress(clean)) {
                f.Suggestion = clean;
                f.Fix = {{addressField, address, clean, true}};
            }
            out.append(f);
        }
        for (const Value* v : used) CheckCharset(index, name, QString::fromLatin1(v->Field), r.*(v->Member), out);
        if (Uses(subject, body, "[NAME]") && Trim(r.PersonalFullName()).isEmpty())
            out.append({index, name, QStringLiteral("PerSonalName_1"), TPreflightCode::NameEmpty,
                        QStringLiteral("差込[名前]に入る名前がありません"), {}, {}});
        if (Uses(subject, body, "[NAME_TITLE]") && Trim(r.PerSonalHonorificTitle).isEmpty() &&
            !Trim(r.PersonalFullName()).isEmpty()) {
            const QString field = QStringLiteral("PerSonalHonorificTitle");
            out.append({index, name, field, TPreflightCode::NameNoHonorific, Text::NameNoHonorific(),
                        QStringLiteral("様"), {{field, r.PerSonalHonorificTitle, QStringLiteral("様"), true}}});
        }
    }
    return out;
}

}  // namespace q2
