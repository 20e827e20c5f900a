// The library's one export: no C++ exception ever leaves it.
#include "lumika.h"

#include "CustomerBarcode.h"

extern "C" int GetCBarString(const char* symbolMap, const char* postalCode, const char* address,
                             char* output) {
    try {
        return lumika::BuildCBarString(symbolMap, postalCode, address, output);
    } catch (...) {
        return LUMIKA_FAILED;
    }
}
