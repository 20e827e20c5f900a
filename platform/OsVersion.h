// The Windows version class some print rules depend on. This platform is never
// one of the Windows versions the class distinguishes, so it answers 10.
#pragma once

namespace q2 {

int GetWindowsVersionClass();
void SetWindowsVersionClassForTesting(int versionClass);  // negative restores 10

}  // namespace q2
