// Reading vCard files of versions 2.1, 3.0 and 4.0: the cards, their
// properties and the decoding of property values.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace q2 {

struct TVcardProperty {
    QByteArray Name;  // upper case, without its group ("item1.")
    QByteArray Group;  // the group in upper case ("ITEM1"), empty for none
    // Parameter names in upper case; a bare 2.1 parameter ("HOME") is a TYPE,
    // a bare "QUOTED-PRINTABLE" or "BASE64" an ENCODING.
    std::vector<std::pair<QByteArray, QByteArray>> Params;
    QByteArray Value;  // after unfolding; encodings and escapes still in place
    int Line = 0;      // 1-based line of the file where the property starts

    // The first value of a parameter, without quotes; empty when absent.
    QByteArray Param(QByteArrayView name) const;
    // True when some TYPE value (comma lists included) equals type, letter case aside.
    bool HasType(QByteArrayView type) const;
    // TYPE=PREF or a PREF parameter.
    bool IsPreferred() const;
};

struct TVcardCard {
    QByteArray Version;  // "2.1", "3.0", "4.0" or whatever the card said
    std::vector<TVcardProperty> Properties;
    int Line = 0;  // line of its BEGIN:VCARD
};

// The cards of a file in file order. Text outside BEGIN:VCARD … END:VCARD is
// ignored, as is a card nested inside another (a 2.1 AGENT); a card cut off by
// the end of the file is kept with what it has. A UTF-8 or UTF-16 byte-order
// mark is understood.
std::vector<TVcardCard> ParseVcards(QByteArrayView bytes);

// True when the first line that is not blank (after a byte-order mark) is
// BEGIN:VCARD.
bool LooksLikeVcard(QByteArrayView bytes);

// The value's text: QUOTED-PRINTABLE or base64 undone, then decoded by its
// CHARSET (Shift_JIS and its aliases through the CP932 codec); without one,
// UTF-8 when the bytes are valid UTF-8, otherwise CP932. Escapes stay.
QString VcardRawText(const TVcardProperty& property);

// The bytes of a binary value (PHOTO): an inline base64 value or a "data:"
// address. Empty when the value is an address to elsewhere or not decodable.
QByteArray VcardBinary(const TVcardProperty& property);

// Splits a raw text at the separators that are not escaped and undoes the
// escapes \n \N \, \; \: \\ of each part.
QStringList VcardComponents(const QString& raw, QChar separator);
QString VcardUnescape(QStringView raw);

}  // namespace q2
