// The reading row of a text: which tab of the address list (1 "ア" … 10 "ワ",
// 11 "AB", 12 "他") lists a record whose reading starts with it.
#pragma once

#include <QStringView>

namespace q2 {

int ReadingRowOf(QStringView text);

}  // namespace q2
