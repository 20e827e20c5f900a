// Mail template files (".mtl"): the subject on the first line, the body on the
// lines after it, CP932 with CR LF line ends.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2 {

// The text of a template file for a subject and a body.
QByteArray MailTemplateBytes(const QString& subject, const QString& body);

struct TMailTemplate {
    QString Subject;
    QString Body;  // every line followed by CR LF
};
TMailTemplate MailTemplateFromBytes(const QByteArray& bytes);

// Writes the file in one piece; false when it cannot be written, with the
// reason in `problem`. `lostCharacters` is set when some character had no
// CP932 code and was saved as "?".
bool SaveMailTemplate(const QString& path, const QString& subject, const QString& body,
                      bool* lostCharacters = nullptr, SaveProblem* problem = nullptr);
// False, with the reason in `problem`, when the file cannot be read.
bool LoadMailTemplate(const QString& path, TMailTemplate* out, FileProblem* problem = nullptr);

// Splits text into lines at CR LF, LF or CR; a final line break ends the last
// line rather than starting an empty one.
QStringList SplitTextLines(const QString& text);

}  // namespace q2
