// Any bytes as "mail.dat".
#include <QByteArray>

#include "model/MailConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    q2::TthMailConfig c;
    if (c.FromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        q2::TthMailConfig back;
        // Bytes that are not CP932 may be normalised on the way, but what is
        // written must always read again.
        if (!back.FromBytes(c.ToBytes())) __builtin_trap();
    }
    return 0;
}
