// Any bytes given to the address-book reader: no crash, no huge allocation,
// and what loads saves and loads again to the same records.
#include <QByteArray>
#include <QBuffer>

#include "model/UserInfoList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    q2::TUserInfoList book;
    if (book.FromBytes(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        q2::TUserInfoList again;
        if (!again.FromBytes(book.ToBytes())) __builtin_trap();
        if (again.Count() != book.Count()) __builtin_trap();
    }
    return 0;
}
