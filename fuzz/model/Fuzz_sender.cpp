// Any bytes as "sender.dat" streams.
#include <QByteArray>

#include "model/SenderInfo.h"
#include "model/UserInfoList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    q2::ByteReader in(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    while (!in.AtEnd()) {
        q2::TSenderInfo s;
        if (!q2::ReadSenderStream(in, &s)) break;
        const QByteArray bytes = q2::WriteSenderStream(s);
        q2::ByteReader back(bytes);
        q2::TSenderInfo t;
        if (!q2::ReadSenderStream(back, &t)) __builtin_trap();
    }
    return 0;
}
