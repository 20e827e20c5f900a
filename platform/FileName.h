// File names as the bytes they are. Qt reads a name that is not valid UTF-8
// with U+FFFD in place of the bad bytes, which names another file (or none);
// these keep each such byte as a lone surrogate (U+DC80–U+DCFF) in the text
// and give it back on the way to the system, so such a name round-trips.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace q2 {

// UTF-8 where the bytes are UTF-8; every other byte becomes U+DC00 + byte.
QString DecodeFileName(QByteArrayView bytes);
// The inverse: the name's bytes for open(2) and friends. For a text without
// such surrogates this is its UTF-8.
QByteArray EncodeFileName(const QString& name);
// The program's arguments after the program name, decoded as above.
QStringList DecodeArguments(int argc, char** argv);

}  // namespace q2
