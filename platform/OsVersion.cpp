// Version class stand-in.
#include "OsVersion.h"

namespace q2 {
namespace {
int overridden = -1;
}

int GetWindowsVersionClass() { return overridden >= 0 ? overridden : 10; }
void SetWindowsVersionClassForTesting(int versionClass) { overridden = versionClass; }

}  // namespace q2
