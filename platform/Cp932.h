// Conversion between QString and Windows code page 932, the encoding of every
// file, wire and library boundary of the program.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace q2 {

// Encodes text as CP932. A character the code page cannot hold becomes "?" and
// its index in `text` is appended to `unmappable` when given. Bytes that came
// from an undecodable input byte (see DecodeCp932) are written back unchanged.
QByteArray EncodeCp932(QStringView text, QList<qsizetype>* unmappable = nullptr);

// Appends the CP932 encoding of text to out; returns false when some
// character could not be held (it was written as "?").
bool AppendCp932(QStringView text, QByteArray& out);

// Decodes CP932 bytes. A byte that starts no valid character is kept as the
// lone surrogate U+DC00 + byte, so that encoding the result gives the same
// bytes back and nothing read from a file is lost.
QString DecodeCp932(QByteArrayView bytes);

// True when every character of text survives EncodeCp932.
bool IsCp932Encodable(QStringView text);

// Lead bytes of double-byte characters.
inline bool IsCp932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace q2
