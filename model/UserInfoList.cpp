// Reading and writing address-book files.
#include "UserInfoList.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <thread>
#include <unistd.h>

#include "platform/Cp932.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2 {
namespace {

constexpr char kScrambleKey = 0x6B;
const char kFileVersion[] = "1.04";

// Boolean texts: "-1" and "0" as written, any number, or True/False in any case.
bool ParseBoolText(const QString& t, bool* value) {
    if (t == QLatin1String("-1")) return *value = true, true;
    if (t == QLatin1String("0")) return *value = false, true;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (ok) return *value = d != 0, true;
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return *value = true, true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return *value = false, true;
    return false;
}

void WriteBool(bool v, QByteArray& out) {
    TthCommonUtils::WriteText(v ? QStringLiteral("-1") : QStringLiteral("0"), out);
}

void WriteDate(QDate d, QByteArray& out) {
    TthCommonUtils::WriteText(FormatDate(d), out);
}

bool ReadBool(ByteReader& in, bool* v) {
    QString t;
    return TthCommonUtils::ReadText(in, &t) && ParseBoolText(t, v);
}

bool ReadDate(ByteReader& in, QDate* d) {
    QString t;
    if (!TthCommonUtils::ReadText(in, &t)) return false;
    *d = ParseDate(t);
    return d->isValid();
}

bool ReadDateTime(ByteReader& in, QDateTime* dt) {
    QDate d;
    if (!ReadDate(in, &d)) return false;
    *dt = MakeDateTime(d);
    return true;
}

void WriteRecord(const TUserInfo& r, QByteArray& out) {
    using U = TthCommonUtils;
    for (const QString* s : {&r.PerSonalKana_1, &r.PerSonalKana_2, &r.PerSonalName_1,
                             &r.PerSonalName_2, &r.PerSonalHonorificTitle, &r.PerSonalZip_1,
                             &r.PerSonalZip_2, &r.PerSonalAddress_1, &r.PerSonalAddress_2,
                             &r.PerSonalTel_1, &r.PerSonalTel_2, &r.PerSonalMail_1,
                             &r.PerSonalMail_2, &r.PerSonalHomePage})
        U::WriteText(*s, out);
    out.append(static_cast<char>(r.PersonalSex));
    for (const QString* s : {&r.OfficeKana, &r.OfficeName, &r.OfficeZip_1, &r.OfficeZip_2,
                             &r.OfficeAddress_1, &r.OfficeAddress_2, &r.OfficeTel_1,
                             &r.OfficeTel_2, &r.OfficeMail_1, &r.OfficeMail_2,
                             &r.OfficeHomePage, &r.OfficePost, &r.OfficeOfficialPosition})
        U::WriteText(*s, out);
    for (int i = 0; i < 4; ++i) {
        const TJointNameObject& j = r.JointName(i);
        WriteBool(j.PrintData, out);
        U::WriteText(j.PrintName, out);
        U::WriteText(j.HonorificTitle, out);
    }
    U::WriteText(r.CommonMemo, out);
    WriteBool(r.CommonPrintCheck, out);
    WriteBool(r.CommonUseTypePersonal, out);
    WriteDate(r.CommonRegistDate.date(), out);
    WriteDate(r.CommonBirthday.date(), out);
    for (const QString* s : {&r.CommonCategory_1, &r.CommonCategory_2, &r.CommonInsertStr_1,
                             &r.CommonInsertStr_2, &r.CommonInsertStr_3, &r.CommonInsertStr_4})
        U::WriteText(*s, out);
    U::WritePicture(r.CommonImg_1, out);
    const THistoryObjectList& h = r.CommonHistoryObjectList;
    AppendInt32(out, h.Count());
    // Entries go out last to first, like the records.
    for (int i = h.Count() - 1; i >= 0; --i) {
        WriteDate(h.Item(i).HistoryDate, out);
        U::WriteText(h.Item(i).HistoryTitle, out);
        U::WriteText(h.Item(i).HistoryContent, out);
    }
}

// No fewer bytes than WriteRecord gives the record: CP932 takes at most two
// bytes for each UTF-16 unit, and every text has its 4-byte length. Pages of
// the buffer the record leaves unused are never touched.
qsizetype RecordSizeBound(const TUserInfo& r) {
    const auto text = [](const QString& s) { return 4 + 2 * s.size(); };
    qsizetype n = 160;  // the sex, the flags, the dates, the counts and the picture's head
    for (const TUserInfoTextField& f : UserInfoTextFields()) n += text(r.*f.Member);
    for (int i = 0; i < 4; ++i)
        n += text(r.JointName(i).PrintName) + text(r.JointName(i).HonorificTitle);
    n += r.CommonImg_1.Data.size();
    for (const THistoryObject& h : r.CommonHistoryObjectList)
        n += 32 + text(h.HistoryTitle) + text(h.HistoryContent);
    return n;
}

bool ReadRecord(ByteReader& in, TUserInfo& r) {
    using U = TthCommonUtils;
    for (QString* s : {&r.PerSonalKana_1, &r.PerSonalKana_2, &r.PerSonalName_1,
                       &r.PerSonalName_2, &r.PerSonalHonorificTitle, &r.PerSonalZip_1,
                       &r.PerSonalZip_2, &r.PerSonalAddress_1, &r.PerSonalAddress_2,
                       &r.PerSonalTel_1, &r.PerSonalTel_2, &r.PerSonalMail_1, &r.PerSonalMail_2,
                       &r.PerSonalHomePage})
        if (!U::ReadText(in, s)) return false;
    unsigned char sex = 0;
    if (!in.ReadByte(&sex)) return false;
    // Values other than 0…2 never come from the program; they read as "not set".
    r.PersonalSex = sex <= 2 ? static_cast<TThSex>(sex) : TThSex::tsNone;
    for (QString* s : {&r.OfficeKana, &r.OfficeName, &r.OfficeZip_1, &r.OfficeZip_2,
                       &r.OfficeAddress_1, &r.OfficeAddress_2, &r.OfficeTel_1, &r.OfficeTel_2,
                       &r.OfficeMail_1, &r.OfficeMail_2, &r.OfficeHomePage, &r.OfficePost,
                       &r.OfficeOfficialPosition})
        if (!U::ReadText(in, s)) return false;
    for (int i = 0; i < 4; ++i) {
        TJointNameObject& j = r.JointName(i);
        if (!ReadBool(in, &j.PrintData) || !U::ReadText(in, &j.PrintName) ||
            !U::ReadText(in, &j.HonorificTitle))
            return false;
    }
    if (!U::ReadText(in, &r.CommonMemo) || !ReadBool(in, &r.CommonPrintCheck) ||
        !ReadBool(in, &r.CommonUseTypePersonal) || !ReadDateTime(in, &r.CommonRegistDate) ||
        !ReadDateTime(in, &r.CommonBirthday))
        return false;
    for (QString* s : {&r.CommonCategory_1, &r.CommonCategory_2, &r.CommonInsertStr_1,
                       &r.CommonInsertStr_2, &r.CommonInsertStr_3, &r.CommonInsertStr_4})
        if (!U::ReadText(in, s)) return false;
    if (!U::ReadPicture(in, &r.CommonImg_1)) return false;
    qint32 count = 0;
    if (!in.ReadInt32(&count)) return false;
    // Each entry takes at least 12 bytes: a count beyond that is damage.
    if (count < 0 || count > in.Remaining() / 12) return false;
    for (qint32 i = 0; i < count; ++i) {
        THistoryObject e;
        if (!ReadDate(in, &e.HistoryDate) || !U::ReadText(in, &e.HistoryTitle) ||
            !U::ReadText(in, &e.HistoryContent))
            return false;
        r.CommonHistoryObjectList.Add(std::move(e));
    }
    return true;
}

// Only the header is looked at: enough to reject bytes no decoder takes,
// without decoding every picture of a large book at load.
bool PictureDecodes(TPictureKind kind, const QByteArray& data) {
    const char* format = kind == TPictureKind::Bitmap ? "bmp"
                         : kind == TPictureKind::Jpeg ? "jpeg"
                                                      : "png";
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return reader.canRead() && reader.size().isValid();
}

}  // namespace

bool ByteReader::ReadInt32(qint32* v) {
    if (end_ - p_ < 4) return false;
    const auto* b = reinterpret_cast<const unsigned char*>(p_);
    *v = static_cast<qint32>(b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24));
    p_ += 4;
    return true;
}

bool ByteReader::ReadByte(unsigned char* v) {
    if (p_ == end_) return false;
    *v = static_cast<unsigned char>(*p_++);
    return true;
}

bool ByteReader::ReadBytes(qint64 n, QByteArrayView* out) {
    if (n < 0 || end_ - p_ < n) return false;
    *out = QByteArrayView(p_, n);
    p_ += n;
    return true;
}

void AppendInt32(QByteArray& out, qint32 v) {
    const auto u = static_cast<uint32_t>(v);
    const char b[4] = {char(u & 0xFF), char((u >> 8) & 0xFF), char((u >> 16) & 0xFF),
                       char((u >> 24) & 0xFF)};
    out.append(b, 4);
}

void TthCommonUtils::WriteString(QByteArrayView raw, QByteArray& stream) {
    AppendInt32(stream, static_cast<qint32>(raw.size()));
    stream.append(raw.data(), raw.size());
}

bool TthCommonUtils::ReadString(ByteReader& stream, QByteArray* raw) {
    qint32 len = 0;
    if (!stream.ReadInt32(&len)) return false;
    if (len <= 0) {
        raw->clear();
        return true;
    }
    QByteArrayView bytes;
    if (!stream.ReadBytes(len, &bytes)) return false;
    *raw = bytes.toByteArray();
    return true;
}

QByteArray TthCommonUtils::Scramble(QByteArrayView bytes) {
    QByteArray out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) out[i] = static_cast<char>(bytes[i] ^ kScrambleKey);
    return out;
}

void TthCommonUtils::WriteText(const QString& text, QByteArray& stream) {
    const qsizetype at = stream.size();
    AppendInt32(stream, 0);
    if (text.isEmpty()) return;
    AppendCp932(text, stream);
    const qsizetype len = stream.size() - at - 4;
    char* p = stream.data() + at;
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((quint32(len) >> (8 * i)) & 0xFF);
    for (qsizetype i = 0; i < len; ++i) p[4 + i] = static_cast<char>(p[4 + i] ^ kScrambleKey);
}

bool TthCommonUtils::ReadText(ByteReader& stream, QString* text) {
    qint32 len = 0;
    if (!stream.ReadInt32(&len)) return false;
    if (len <= 0) {
        text->clear();
        return true;
    }
    QByteArrayView bytes;
    if (!stream.ReadBytes(len, &bytes)) return false;
    // Most fields are short: unscramble on the stack.
    char small[256];
    QByteArray large;
    char* buf = small;
    if (len > static_cast<qint32>(sizeof small)) {
        large.resize(len);
        buf = large.data();
    }
    for (qint32 i = 0; i < len; ++i) buf[i] = static_cast<char>(bytes[i] ^ kScrambleKey);
    *text = DecodeCp932(QByteArrayView(buf, len));
    return true;
}

void TthCommonUtils::WritePicture(const TPicture& picture, QByteArray& stream) {
    const int kind = picture.StoredKind();
    if (kind == 0) {
        AppendInt32(stream, 0);
        return;
    }
    AppendInt32(stream, static_cast<qint32>(picture.Data.size()));
    AppendInt32(stream, kind);
    stream.append(picture.Data);
}

bool TthCommonUtils::ReadPicture(ByteReader& stream, TPicture* picture) {
    *picture = TPicture();
    qint32 size = 0, kind = 0;
    if (!stream.ReadInt32(&size)) return false;
    if (size == 0) return true;
    if (size < 0 || !stream.ReadInt32(&kind)) return false;
    QByteArrayView bytes;
    if (!stream.ReadBytes(size, &bytes)) return false;
    // Kinds this program never writes are skipped: the record reads without picture.
    if (kind < 1 || kind > 4) return true;
    picture->Kind = static_cast<TPictureKind>(kind);
    picture->Data = bytes.toByteArray();
    if (picture->Kind != TPictureKind::Metafile)
        picture->Undecodable = !PictureDecodes(picture->Kind, picture->Data);
    return true;
}

TUserInfo* TUserInfoList::Add(std::unique_ptr<TUserInfo> record) {
    records_.push_back(std::move(record));
    return records_.back().get();
}

int TUserInfoList::IndexOf(const TUserInfo* record) const {
    for (size_t i = 0; i < records_.size(); ++i) {
        if (records_[i].get() == record) return static_cast<int>(i);
    }
    return -1;
}

std::unique_ptr<TUserInfo> TUserInfoList::Remove(int i) {
    std::unique_ptr<TUserInfo> r = std::move(records_.at(i));
    records_.erase(records_.begin() + i);
    return r;
}

void TUserInfoList::Sort(const std::function<bool(const TUserInfo&, const TUserInfo&)>& less) {
    std::stable_sort(records_.begin(), records_.end(),
                     [&](const auto& a, const auto& b) { return less(*a, *b); });
}

QByteArray TUserInfoList::ToBytes() const {
    QByteArray out;
    qsizetype bound = 16 + 2 * (4 + Password.size()) + 4;
    for (const auto& r : records_) bound += RecordSizeBound(*r);
    out.reserve(bound);
    TthCommonUtils::WriteText(QString::fromLatin1(kFileVersion), out);
    TthCommonUtils::WriteText(Password, out);
    AppendInt32(out, Count());
    for (int i = Count() - 1; i >= 0; --i) WriteRecord(*records_[i], out);
    return out;
}

bool TUserInfoList::FromBytes(QByteArrayView bytes) {
    // Freeing a large book's millions of strings takes longer than reading a
    // new one; the old records go to a worker thread, off the user's wait.
    std::vector<std::unique_ptr<TUserInfo>> old;
    old.swap(records_);
    if (old.size() > 10'000) {
        std::thread([doomed = std::move(old)]() mutable { doomed.clear(); }).detach();
    } else {
        old.clear();
    }
    ByteReader in(bytes);
    QString version, password;
    if (!TthCommonUtils::ReadText(in, &version) || !TthCommonUtils::ReadText(in, &password))
        return false;
    // The writer always stores a version text, so a file of nothing but zero
    // bytes (what a power loss often leaves) is damage, not an empty book.
    if (version.isEmpty() &&
        std::all_of(bytes.begin(), bytes.end(), [](char b) { return b == 0; }))
        return false;
    Password = password;
    HasPassword = !password.isEmpty();
    qint32 count = 0;
    if (!in.ReadInt32(&count)) return false;
    // No record is shorter than 225 bytes, so a larger count than that allows is damage.
    if (count < 0 || count > in.Remaining() / 225) return false;
    records_.reserve(count);
    for (qint32 i = 0; i < count; ++i) {
        auto r = std::make_unique<TUserInfo>();
        if (!ReadRecord(in, *r)) return false;
        records_.push_back(std::move(r));
    }
    // A book ends right after its last record: anything more means the count
    // was damaged and records would be lost at the next save.
    return in.AtEnd();
}

bool TUserInfoList::SaveToFile(const QString& path, SaveProblem* problem,
                               QByteArray* written) const {
    const QByteArray bytes = ToBytes();
    // The password lies in the file merely scrambled: such a book is its owner's alone.
    const SaveProblem p = WriteFileSafely(
        path, bytes, Password.isEmpty() ? FileMode::KeepOrDefault : FileMode::Private);
    if (problem) *problem = p;
    if (written) *written = p == SaveProblem::None ? bytes : QByteArray();
    return p == SaveProblem::None;
}

bool TUserInfoList::LoadFromFile(const QString& path, FileProblem* problem) {
    QByteArray bytes;
    const FileProblem p = ReadUserFile(path, &bytes);
    if (problem) *problem = p;
    if (p != FileProblem::None) {
        Clear();
        return false;
    }
    return FromBytes(bytes);
}

QString TUserInfoList::ReadPassword(const QString& path) {
    // A pipe or a device would block or never end.
    if (CheckUserFile(path) != FileProblem::None) return QString();
    const int fd = OpenUserFile(path);
    if (fd < 0) return QString();
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QString();
    }
    // The version field, then the password field: read no further.
    QByteArray head = f.read(4);
    ByteReader r1(head);
    qint32 len = 0;
    if (!r1.ReadInt32(&len)) return QString();
    if (len > 0 && !f.seek(4 + qint64(len))) return QString();
    head = f.read(4);
    ByteReader r2(head);
    if (!r2.ReadInt32(&len)) return QString();
    if (len <= 0) return QString();
    if (len > f.size() - f.pos()) return QString();
    const QByteArray raw = f.read(len);
    if (raw.size() != len) return QString();
    return DecodeCp932(TthCommonUtils::Scramble(raw));
}

QList<TUnencodableField> TUserInfoList::FindUnencodable() const {
    // Field names are built only for a finding: a large book has millions of
    // fields and hardly ever a finding.
    QList<TUnencodableField> found;
    auto check = [&](int record, const QString& text, auto name) {
        if (!text.isEmpty() && !IsCp932Encodable(text)) found.append({record, name(), text});
    };
    check(-1, Password, [] { return QStringLiteral("Password"); });
    for (int i = 0; i < Count(); ++i) {
        const TUserInfo& r = *records_[i];
        for (const TUserInfoTextField& f : UserInfoTextFields())
            check(i, r.*f.Member, [&] { return QString::fromLatin1(f.Name); });
        for (int j = 0; j < 4; ++j) {
            const auto base = [j] { return QStringLiteral("CommonJointNameObj_%1.").arg(j + 1); };
            check(i, r.JointName(j).PrintName, [&] { return base() + QStringLiteral("PrintName"); });
            check(i, r.JointName(j).HonorificTitle, [&] { return base() + QStringLiteral("HonorificTitle"); });
        }
        int k = 0;
        for (const THistoryObject& h : r.CommonHistoryObjectList) {
            const auto base = [k] { return QStringLiteral("CommonHistoryObjectList[%1].").arg(k); };
            check(i, h.HistoryTitle, [&] { return base() + QStringLiteral("HistoryTitle"); });
            check(i, h.HistoryContent, [&] { return base() + QStringLiteral("HistoryContent"); });
            ++k;
        }
    }
    return found;
}

}  // namespace q2
