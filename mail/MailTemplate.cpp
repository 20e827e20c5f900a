// Reading and writing mail template files.
#include "MailTemplate.h"

#include <QFile>

#include "platform/Cp932.h"
#include "platform/SafeFile.h"

namespace q2 {

QStringList SplitTextLines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (t.isEmpty()) return {};
    QStringList lines = t.split(u'\n');
    if (lines.last().isEmpty()) lines.removeLast();
    return lines;
}

namespace {
QString TemplateText(const QString& subject, const QString& body) {
    QString out;
    for (const QString& line : SplitTextLines(subject + QStringLiteral("\r\n") + body))
        out += line + QStringLiteral("\r\n");
    return out;
}
}  // namespace

QByteArray MailTemplateBytes(const QString& subject, const QString& body) {
    return EncodeCp932(TemplateText(subject, body));
}

TMailTemplate MailTemplateFromBytes(const QByteArray& bytes) {
    const QStringList lines = SplitTextLines(DecodeCp932(bytes));
    TMailTemplate t;
    if (lines.isEmpty()) return t;
    t.Subject = lines.first();
    for (qsizetype i = 1; i < lines.size(); ++i) t.Body += lines[i] + QStringLiteral("\r\n");
    return t;
}

bool SaveMailTemplate(const QString& path, const QString& subject, const QString& body,
                      bool* lostCharacters, SaveProblem* problem) {
    QList<qsizetype> unmappable;
    const QByteArray bytes = EncodeCp932(TemplateText(subject, body), &unmappable);
    if (lostCharacters) *lostCharacters = !unmappable.isEmpty();
    const SaveProblem p = WriteFileSafely(path, bytes);
    if (problem) *problem = p;
    return p == SaveProblem::None;
}

bool LoadMailTemplate(const QString& path, TMailTemplate* out, FileProblem* problem) {
    QByteArray bytes;
    const FileProblem p = ReadUserFile(path, &bytes);
    if (problem) *problem = p;
    if (p != FileProblem::None) return false;
    *out = MailTemplateFromBytes(bytes);
    return true;
}

}  // namespace q2
