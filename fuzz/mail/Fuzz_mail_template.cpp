// Any bytes as a mail template file: read, written and read again to the same
// subject and body.
#include <QByteArray>

#include "mail/MailTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const q2::TMailTemplate t = q2::MailTemplateFromBytes(bytes);
    q2::SplitTextLines(t.Body);
    const q2::TMailTemplate again = q2::MailTemplateFromBytes(q2::MailTemplateBytes(t.Subject, t.Body));
    if (again.Subject != t.Subject || again.Body != t.Body) __builtin_trap();
    return 0;
}
