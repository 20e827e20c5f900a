// Japanese mail text: CP932 bytes to ISO-2022-JP bodies and RFC 2047 headers.
#pragma once

#include <QByteArray>
#include <QString>

namespace q2 {

enum class TJisByteCodeType { btAscii, btRoman };
enum class TJisKanaConvType { ktNone, ktZenWithDaku, ktZenSepaDaku };

class TPzConv {
public:
    TJisByteCodeType JisByteCodeType = TJisByteCodeType::btAscii;
    TJisKanaConvType JisKanaConvType = TJisKanaConvType::ktZenWithDaku;

    // All texts are CP932 bytes.
    QByteArray SjisToJis(const QByteArray& sjis) const;
    QByteArray EncodeMimeHeader(const QByteArray& sjis) const;
    static QByteArray HanToZenCombined(const QByteArray& sjis);
    static QByteArray HanToZenSeparate(const QByteArray& sjis);
    static QByteArray Base64Encode(const QByteArray& bytes);

private:
    QByteArray ConvertKana(const QByteArray& sjis) const;
};

}  // namespace q2
