// The two postal code boxes of the record editor work as one entry: a fourth
// digit typed into the first box goes on into the second, and a whole code
// pasted into either box ("100-0014", "1000014") fills both.
#pragma once

class QLineEdit;
class QString;

namespace q2 {

void JoinPostalCodeBoxes(QLineEdit* first, QLineEdit* second);

}  // namespace q2
