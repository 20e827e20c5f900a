// The program clock.
#include "Clock.h"

namespace q2 {
namespace {
std::optional<QDateTime> fixedNow;
}

QDateTime Now() { return fixedNow ? *fixedNow : QDateTime::currentDateTime(); }
QDate Today() { return Now().date(); }
void SetNowForTesting(std::optional<QDateTime> now) { fixedNow = std::move(now); }

}  // namespace q2
