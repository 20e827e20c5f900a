// Any bytes as a list file.
#include <QByteArray>

#include "model/ListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    q2::ParseListBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
