// "sender.dat": one component stream per sender.
#include "SenderInfo.h"

#include <QFile>
#include <QFileInfo>

#include "model/UserInfoList.h"
#include "platform/SafeFile.h"

namespace q2 {
namespace {

enum ValueType : unsigned char {
    vaFalse = 0x08,
    vaTrue = 0x09,
    vaString = 0x06,
    vaLString = 0x0C,
    vaWString = 0x12,
    vaUTF8String = 0x14,
};

const char kSignature[] = "TPF0";
const char kClassName[] = "TSenderInfo";

struct TextProperty {
    const char* Name;
    QString TSenderInfo::*Member;
};
struct ItemProperty {
    const char* Name;
    TInputSetObject TSenderInfo::*Member;
};

const TextProperty kTexts[] = {
    {"SenderName_1", &TSenderInfo::SenderName_1},   {"SenderName_2", &TSenderInfo::SenderName_2},
    {"SenderZip_1", &TSenderInfo::SenderZip_1},     {"SenderZip_2", &TSenderInfo::SenderZip_2},
    {"SenderAddress_1", &TSenderInfo::SenderAddress_1},
    {"SenderAddress_2", &TSenderInfo::SenderAddress_2},
};
const ItemProperty kItems[] = {
    {"SenderTel_1", &TSenderInfo::SenderTel_1},
    {"SenderFax_1", &TSenderInfo::SenderFax_1},
    {"SenderMail_1", &TSenderInfo::SenderMail_1},
    {"SenderHomePage", &TSenderInfo::SenderHomePage},
    {"PersonalJointNameObj_1", &TSenderInfo::PersonalJointNameObj_1},
    {"PersonalJointNameObj_2", &TSenderInfo::PersonalJointNameObj_2},
    {"PersonalJointNameObj_3", &TSenderInfo::PersonalJointNameObj_3},
    {"PersonalJointNameObj_4", &TSenderInfo::PersonalJointNameObj_4},
    {"OfficeName", &TSenderInfo::OfficeName},
    {"OfficePost", &TSenderInfo::OfficePost},
    {"OfficeOfficialPosition", &TSenderInfo::OfficeOfficialPosition},
};

void AppendShortString(QByteArray& out, QByteArrayView s) {
    out.append(static_cast<char>(s.size()));
    out.append(s.data(), s.size());
}

void WriteTextValue(QByteArray& out, const QString& text) {
    bool ascii = true;
    for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        const QByteArray bytes = text.toLatin1();
        if (bytes.size() < 256) {
            out.append(char(vaString));
            AppendShortString(out, bytes);
        } else {
            out.append(char(vaLString));
            AppendInt32(out, static_cast<qint32>(bytes.size()));
            out.append(bytes);
        }
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    if (utf8.size() < 2 * text.size()) {
        out.append(char(vaUTF8String));
        AppendInt32(out, static_cast<qint32>(utf8.size()));
        out.append(utf8);
    } else {
        out.append(char(vaWString));
        AppendInt32(out, static_cast<qint32>(text.size()));
        for (QChar c : text) {
            out.append(static_cast<char>(c.unicode() & 0xFF));
            out.append(static_cast<char>(c.unicode() >> 8));
        }
    }
}

bool ReadShortString(ByteReader& in, QByteArrayView* s) {
    unsigned char len = 0;
    return in.ReadByte(&len) && in.ReadBytes(len, s);
}

bool ReadTextValue(ByteReader& in, unsigned char type, QString* text) {
    QByteArrayView bytes;
    qint32 len = 0;
    switch (type) {
        case vaString:
            if (!ReadShortString(in, &bytes)) return false;
            *text = QString::fromLatin1(bytes.data(), bytes.size());
            return true;
        case vaLString:
            if (!in.ReadInt32(&len) || !in.ReadBytes(len, &bytes)) return false;
            *text = QString::fromLatin1(bytes.data(), bytes.size());
            return true;
        case vaUTF8String:
            if (!in.ReadInt32(&len) || !in.ReadBytes(len, &bytes)) return false;
            *text = QString::fromUtf8(bytes.data(), bytes.size());
            return true;
        case vaWString: {
            if (!in.ReadInt32(&len) || len < 0 || len > in.Remaining() / 2) return false;
            if (!in.ReadBytes(qint64(len) * 2, &bytes)) return false;
            QString s(len, Qt::Uninitialized);
            for (qint32 i = 0; i < len; ++i)
                s[i] = QChar(char16_t(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8)));
            *text = s;
            return true;
        }
        default: return false;
    }
}

bool ApplyProperty(TSenderInfo* s, QByteArrayView name, ByteReader& in) {
    unsigned char type = 0;
    if (!in.ReadByte(&type)) return false;
    const QString key = QString::fromLatin1(name.data(), name.size());
    for (const TextProperty& p : kTexts) {
        if (key.compare(QLatin1String(p.Name), Qt::CaseInsensitive) == 0)
            return ReadTextValue(in, type, &(s->*p.Member));
    }
    const qsizetype dot = key.indexOf(QLatin1Char('.'));
    if (dot < 0) return false;
    const QString item = key.left(dot), member = key.mid(dot + 1);
    for (const ItemProperty& p : kItems) {
        if (item.compare(QLatin1String(p.Name), Qt::CaseInsensitive) != 0) continue;
        TInputSetObject& o = s->*p.Member;
        if (member.compare(QLatin1String("PrintData"), Qt::CaseInsensitive) == 0) {
            if (type != vaTrue && type != vaFalse) return false;
            o.PrintData = type == vaTrue;
            return true;
        }
        if (member.compare(QLatin1String("Content"), Qt::CaseInsensitive) == 0)
            return ReadTextValue(in, type, &o.Content);
        return false;
    }
    return false;
}

}  // namespace

TInputSetObject& TSenderInfo::JointName(int i) {
    TInputSetObject* all[] = {&PersonalJointNameObj_1, &PersonalJointNameObj_2,
                              &PersonalJointNameObj_3, &PersonalJointNameObj_4};
    return *all[i];
}

const TInputSetObject& TSenderInfo::JointName(int i) const {
    return const_cast<TSenderInfo*>(this)->JointName(i);
}

QByteArray WriteSenderStream(const TSenderInfo& s) {
    QByteArray out(kSignature, 4);
    AppendShortString(out, kClassName);
    out.append('\0');
    for (const TextProperty& p : kTexts) {
        const QString& v = s.*p.Member;
        if (v.isEmpty()) continue;
        AppendShortString(out, p.Name);
        WriteTextValue(out, v);
    }
    for (const ItemProperty& p : kItems) {
        const TInputSetObject& o = s.*p.Member;
        if (o.PrintData) {
            AppendShortString(out, QByteArray(p.Name) + ".PrintData");
            out.append(char(vaTrue));
        }
        if (!o.Content.isEmpty()) {
            AppendShortString(out, QByteArray(p.Name) + ".Content");
            WriteTextValue(out, o.Content);
        }
    }
    out.append('\0');  // end of properties
    out.append('\0');  // end of owned components
    return out;
}

bool ReadSenderStream(ByteReader& in, TSenderInfo* s) {
    QByteArrayView sig, name;
    if (!in.ReadBytes(4, &sig) || sig != QByteArrayView(kSignature, 4)) return false;
    if (!ReadShortString(in, &name) || !ReadShortString(in, &name)) return false;
    for (;;) {
        QByteArrayView prop;
        if (!ReadShortString(in, &prop)) return false;
        if (prop.isEmpty()) break;
        if (!ApplyProperty(s, prop, in)) return false;
    }
    unsigned char children = 1;
    return in.ReadByte(&children) && children == 0;
}

bool SaveSenderFile(const QString& path, const TSenderInfoList& senders, SaveProblem* problem) {
    QByteArray out;
    for (int i = 0; i < senders.Count(); ++i) out += WriteSenderStream(*senders.Item(i));
    const SaveProblem p = WriteFileSafely(path, out);
    if (problem) *problem = p;
    return p == SaveProblem::None;
}

TSenderFileState LoadSenderFile(const QString& path, TSenderInfoList& senders) {
    auto fillUp = [&] {
        while (senders.Count() < TSenderInfoList::kSenderCount) senders.Add();
    };
    if (!QFileInfo::exists(path)) {
        senders.Clear();
        fillUp();
        SaveSenderFile(path, senders);
        return TSenderFileState::Created;
    }
    QFile f(path);
    senders.Clear();
    if (!f.open(QIODevice::ReadOnly)) {
        fillUp();
        return TSenderFileState::Damaged;
    }
    const QByteArray bytes = f.readAll();
    ByteReader in(bytes);
    TSenderFileState state = TSenderFileState::Loaded;
    while (!in.AtEnd()) {
        TSenderInfo s;
        if (!ReadSenderStream(in, &s)) {
            state = TSenderFileState::Damaged;
            break;
        }
        *senders.Add() = std::move(s);
    }
    fillUp();
    return state;
}

}  // namespace q2
