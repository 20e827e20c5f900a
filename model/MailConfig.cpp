// "mail.dat": fourteen fields in fixed order, then an optional extension block.
#include "MailConfig.h"

#include <QFile>
#include <QFileInfo>

#include "model/UserInfoList.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2 {
namespace {

// Marks the block this program appends after the original fields; readers
// that know only the fourteen fields ignore what follows them.
const char kExtensionMagic[] = "Q2X1";

bool ReadFlag(ByteReader& in, bool* v) {
    unsigned char b = 0;
    if (!in.ReadByte(&b)) return false;
    *v = b != 0;
    return true;
}

TMailSecurity SecurityFrom(unsigned char b) {
    return b <= 2 ? static_cast<TMailSecurity>(b) : TMailSecurity::None;
}

}  // namespace

QByteArray TthMailConfig::ToBytes() const {
    using U = TthCommonUtils;
    QByteArray out;
    U::WriteText(SenderName, out);
    U::WriteText(SenderMailAddress, out);
    U::WriteText(SMTPServerAddress, out);
    AppendInt32(out, SMTPPortNo);
    out.append(char(UseSmtpAuth ? 1 : 0));
    U::WriteText(SMTPAccount, out);
    U::WriteText(SMTPPassword, out);
    out.append(char(UsePopBeforeSMTP ? 1 : 0));
    U::WriteText(POP3ServerAddress, out);
    AppendInt32(out, POP3PortNo);
    U::WriteText(POP3Account, out);
    U::WriteText(Pop3Password, out);
    out.append(char(UseSoftPassword ? 1 : 0));
    U::WriteText(SoftPassword, out);
    if (SMTPSecurity != TMailSecurity::None || POP3Security != TMailSecurity::None) {
        out.append(kExtensionMagic, 4);
        out.append(char(SMTPSecurity));
        out.append(char(POP3Security));
    }
    return out;
}

bool TthMailConfig::FromBytes(const QByteArray& bytes) {
    using U = TthCommonUtils;
    ByteReader in(bytes);
    TthMailConfig c;
    if (!U::ReadText(in, &c.SenderName) || !U::ReadText(in, &c.SenderMailAddress) ||
        !U::ReadText(in, &c.SMTPServerAddress) || !in.ReadInt32(&c.SMTPPortNo) ||
        !ReadFlag(in, &c.UseSmtpAuth) || !U::ReadText(in, &c.SMTPAccount) ||
        !U::ReadText(in, &c.SMTPPassword) || !ReadFlag(in, &c.UsePopBeforeSMTP) ||
        !U::ReadText(in, &c.POP3ServerAddress) || !in.ReadInt32(&c.POP3PortNo) ||
        !U::ReadText(in, &c.POP3Account) || !U::ReadText(in, &c.Pop3Password) ||
        !ReadFlag(in, &c.UseSoftPassword) || !U::ReadText(in, &c.SoftPassword))
        return false;
    QByteArrayView magic, security;
    if (in.Remaining() >= 6 && in.ReadBytes(4, &magic) && magic == QByteArrayView(kExtensionMagic, 4) &&
        in.ReadBytes(2, &security)) {
        c.SMTPSecurity = SecurityFrom(static_cast<unsigned char>(security[0]));
        c.POP3Security = SecurityFrom(static_cast<unsigned char>(security[1]));
    }
    *this = c;
    return true;
}

bool TthMailConfig::LoadFromFile(const QString& path) {
    if (!QFileInfo::exists(path)) return true;
    QByteArray bytes;
    if (ReadUserFile(path, &bytes) != FileProblem::None) return false;
    return FromBytes(bytes);
}

bool TthMailConfig::SaveToFile(const QString& path, SaveProblem* problem) const {
    // It holds the SMTP, POP3 and start-up passwords.
    const SaveProblem p = WriteFileSafely(path, ToBytes(), FileMode::Private);
    if (problem) *problem = p;
    return p == SaveProblem::None;
}

bool TthMailConfig::IsComplete() const {
    return !SenderName.isEmpty() && !SenderMailAddress.isEmpty() && !SMTPServerAddress.isEmpty() &&
           SMTPPortNo != 0;
}

}  // namespace q2
