// The start-up and file password checks: at most three answers, then the end.
#pragma once

#include <QString>

namespace q2 {

class TFormPasswordAuth;

enum class TPasswordResult {
    Passed,
    Cancelled,     // "終了" pressed
    TooManyWrong,  // three wrong answers; the user has been told
};

TPasswordResult CheckStartupPassword(TFormPasswordAuth& prompt, const QString& softPassword);
TPasswordResult CheckFilePassword(TFormPasswordAuth& prompt, const QString& stored);

}  // namespace q2
