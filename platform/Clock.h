// "Now" for the whole program, fixed by tests that depend on the date.
#pragma once

#include <QDate>
#include <QDateTime>
#include <optional>

namespace q2 {

QDateTime Now();
QDate Today();
void SetNowForTesting(std::optional<QDateTime> now);

}  // namespace q2
