// The address book, its file format and the stream primitives shared with
// the mail settings file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "model/UserInfo.h"
#include "platform/SafeFile.h"
#include "platform/UserFile.h"

namespace q2 {

// Sequential reader over a byte buffer that never reads past its end.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}
    bool ReadInt32(qint32* v);
    bool ReadByte(unsigned char* v);
    bool ReadBytes(qint64 n, QByteArrayView* out);
    qint64 Remaining() const { return end_ - p_; }
    bool AtEnd() const { return p_ == end_; }

private:
    const char* p_;
    const char* end_;
};

void AppendInt32(QByteArray& out, qint32 v);

// The field primitives of the address-book and mail settings files. A string
// field is a 32-bit little-endian length and that many bytes; texts are
// stored scrambled (each byte XOR 0x6B).
class TthCommonUtils {
public:
    static void WriteString(QByteArrayView raw, QByteArray& stream);
    // A length of zero or less is an empty text; one longer than what is left
    // of the stream is damage.
    static bool ReadString(ByteReader& stream, QByteArray* raw);
    static QByteArray Scramble(QByteArrayView bytes);

    // Text fields: CP932 encoding and the scramble around the string field.
    static void WriteText(const QString& text, QByteArray& stream);
    static bool ReadText(ByteReader& stream, QString* text);

    static void WritePicture(const TPicture& picture, QByteArray& stream);
    static bool ReadPicture(ByteReader& stream, TPicture* picture);
};

// A text that CP932 cannot hold, found before a save.
struct TUnencodableField {
    int Record = -1;  // index in the book; -1 for the book's password
    QString Field;    // property name, e.g. "PerSonalName_1" or "CommonHistoryObjectList[0].HistoryTitle"
    QString Text;
};

class TUserInfoList {
public:
    bool HasPassword = false;
    QString Password;

    // Frees every record; the password stays.
    void Clear() { records_.clear(); }
    TUserInfo* Add(std::unique_ptr<TUserInfo> record);
    TUserInfo* Add() { return Add(std::make_unique<TUserInfo>()); }
    TUserInfo* Item(int i) const { return records_.at(i).get(); }
    int Count() const { return static_cast<int>(records_.size()); }
    int IndexOf(const TUserInfo* record) const;
    void Delete(int i) { records_.erase(records_.begin() + i); }
    std::unique_ptr<TUserInfo> Remove(int i);
    void Sort(const std::function<bool(const TUserInfo&, const TUserInfo&)>& less);

    // A book with a password is written readable by its owner only.
    // `written` receives the bytes written (for a stamp of the file).
    bool SaveToFile(const QString& path, SaveProblem* problem = nullptr,
                    QByteArray* written = nullptr) const;
    // Fails for damage (bytes left after the last record included) and for a
    // file that cannot be read; `problem` then tells which (None for damage).
    bool LoadFromFile(const QString& path, FileProblem* problem = nullptr);
    static QString ReadPassword(const QString& path);

    // The file image SaveToFile writes, and the parser LoadFromFile uses.
    QByteArray ToBytes() const;
    bool FromBytes(QByteArrayView bytes);

    // Every text of the book that would be saved as "?".
    QList<TUnencodableField> FindUnencodable() const;

private:
    std::vector<std::unique_ptr<TUserInfo>> records_;
};

}  // namespace q2
