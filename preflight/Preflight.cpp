// Findings: their codes and weights, the fix applied to a record, the line
// q2tool prints.
#include "preflight/Preflight.h"

#include <QHash>

namespace q2 {
namespace {

struct CodeInfo {
    TPreflightCode Code;
    const char* Name;
    TPreflightSeverity Severity;
};
constexpr CodeInfo kCodes[] = {
    {TPreflightCode::ZipEmpty, "zip-empty", TPreflightSeverity::Fault},
    {TPreflightCode::ZipMalformed, "zip-malformed", TPreflightSeverity::Fault},
    {TPreflightCode::ZipUnknown, "zip-unknown", TPreflightSeverity::Fault},
    {TPreflightCode::ZipTownMismatch, "zip-town", TPreflightSeverity::Warning},
    {TPreflightCode::ZipNoAddressNumber, "zip-no-address-number", TPreflightSeverity::Info},
    {TPreflightCode::AddressEmpty, "address-empty", TPreflightSeverity::Fault},
    {TPreflightCode::GlyphMissing, "glyph-missing", TPreflightSeverity::Fault},
    {TPreflightCode::VerticalFormMissing, "glyph-no-vertical-form", TPreflightSeverity::Warning},
    {TPreflightCode::FitFloor, "fit-floor", TPreflightSeverity::Warning},
    {TPreflightCode::FitOverflow, "fit-overflow", TPreflightSeverity::Fault},
    {TPreflightCode::MailCharset, "mail-charset", TPreflightSeverity::Fault},
    {TPreflightCode::MailNoAddress, "mail-no-address", TPreflightSeverity::Fault},
    {TPreflightCode::MailUnsafeAddress, "mail-unsafe-address", TPreflightSeverity::Fault},
    {TPreflightCode::NameEmpty, "name-empty", TPreflightSeverity::Fault},
    {TPreflightCode::NameNoHonorific, "name-no-honorific", TPreflightSeverity::Info},
    {TPreflightCode::NameOnchuWithSama, "name-onchu-sama", TPreflightSeverity::Fault},
    {TPreflightCode::InkOutsidePrintable, "printable-area", TPreflightSeverity::Warning},
};

const CodeInfo& Info(TPreflightCode code) {
    for (const CodeInfo& c : kCodes)
        if (c.Code == code) return c;
    return kCodes[0];
}

// The field a property name stands for, nullptr when it is none.
QString* FieldOf(TUserInfo& r, const QString& name) {
    for (const TUserInfoTextField& f : UserInfoTextFields())
        if (name == QLatin1String(f.Name)) return &(r.*(f.Member));
    static const QLatin1String joint("CommonJointNameObj_");
    if (name.startsWith(joint) && name.size() > joint.size() + 1) {
        const int i = name[joint.size()].digitValue() - 1;
        if (i < 0 || i > 3) return nullptr;
        const QStringView member = QStringView(name).mid(joint.size() + 2);
        if (member == u"PrintName") return &r.JointName(i).PrintName;
        if (member == u"HonorificTitle") return &r.JointName(i).HonorificTitle;
    }
    return nullptr;
}

}  // namespace

QString PreflightCodeName(TPreflightCode code) { return QString::fromLatin1(Info(code).Name); }
TPreflightSeverity SeverityOf(TPreflightCode code) { return Info(code).Severity; }

QString SeverityText(TPreflightSeverity severity) {
    switch (severity) {
        case TPreflightSeverity::Fault: return QStringLiteral("エラー");
        case TPreflightSeverity::Warning: return QStringLiteral("警告");
        case TPreflightSeverity::Info: return QStringLiteral("情報");
    }
    return QString();
}

bool HasFault(const QList<TPreflightFinding>& findings) {
    for (const TPreflightFinding& f : findings)
        if (f.Severity() == TPreflightSeverity::Fault) return true;
    return false;
}

bool ApplyFix(const TPreflightFinding& finding, TUserInfo* record, QString* subject, QString* body) {
    if (finding.Fix.isEmpty()) return false;
    // Every field is looked up and checked before any is written, so that a
    // fix is applied whole or not at all.
    QList<QString*> targets;
    for (const TFieldEdit& e : finding.Fix) {
        QString* field = nullptr;
        if (e.Field == QString::fromUtf8(kSubjectField)) field = subject;
        else if (e.Field == QString::fromUtf8(kBodyField)) field = body;
        else if (record) field = FieldOf(*record, e.Field);
        if (!field) return false;
        if (e.Whole ? *field != e.From : !field->contains(e.From)) return false;
        targets.append(field);
    }
    for (qsizetype i = 0; i < targets.size(); ++i) {
        const TFieldEdit& e = finding.Fix[i];
        if (e.Whole) *targets[i] = e.To;
        else targets[i]->replace(e.From, e.To);
    }
    return true;
}

QString FieldCaption(const QString& field) {
    static const QHash<QString, QString> captions = {
        {QStringLiteral("PerSonalName_1"), QStringLiteral("名前")},
        {QStringLiteral("PerSonalName_2"), QStringLiteral("名前")},
        {QStringLiteral("PerSonalHonorificTitle"), QStringLiteral("敬称")},
        {QStringLiteral("PerSonalZip_1"), QStringLiteral("郵便番号")},
        {QStringLiteral("PerSonalZip_2"), QStringLiteral("郵便番号")},
        {QStringLiteral("PerSonalAddress_1"), QStringLiteral("住所１")},
        {QStringLiteral("PerSonalAddress_2"), QStringLiteral("住所２")},
        {QStringLiteral("PerSonalMail_1"), QStringLiteral("メール１")},
        {QStringLiteral("OfficeName"), QStringLiteral("会社名")},
        {QStringLiteral("OfficeZip_1"), QStringLiteral("会社郵便番号")},
        {QStringLiteral("OfficeZip_2"), QStringLiteral("会社郵便番号")},
        {QStringLiteral("OfficeAddress_1"), QStringLiteral("会社住所１")},
        {QStringLiteral("OfficeAddress_2"), QStringLiteral("会社住所２")},
        {QStringLiteral("OfficeMail_1"), QStringLiteral("会社メール１")},
        {QStringLiteral("OfficePost"), QStringLiteral("部署")},
        {QStringLiteral("OfficeOfficialPosition"), QStringLiteral("役職")},
        {QStringLiteral("CommonInsertStr_1"), QStringLiteral("差込１")},
        {QStringLiteral("CommonInsertStr_2"), QStringLiteral("差込２")},
        {QStringLiteral("CommonInsertStr_3"), QStringLiteral("差込３")},
        {QStringLiteral("CommonInsertStr_4"), QStringLiteral("差込４")},
    };
    const auto it = captions.constFind(field);
    if (it != captions.constEnd()) return *it;
    static const QLatin1String joint("CommonJointNameObj_");
    if (field.startsWith(joint) && field.size() > joint.size()) {
        const QString n = QString(QChar(u'０' + field[joint.size()].digitValue()));
        return QStringLiteral("連名") + n + (field.endsWith(QLatin1String("HonorificTitle")) ? QStringLiteral("敬称") : QString());
    }
    return field;
}

QString PreflightLine(const TPreflightFinding& f, int index) {
    auto clean = [](QString s) { return s.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' '); };
    return QStringList{index < 0 ? QStringLiteral("-") : QString::number(index), clean(f.Name), f.Field,
                       PreflightCodeName(f.Code), clean(f.Message), clean(f.Suggestion)}
        .join(u'\t');
}

}  // namespace q2
