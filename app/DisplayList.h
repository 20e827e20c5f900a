// The extracted records shown in the address list: references into the open
// book, which owns them.
#pragma once

#include <vector>

#include "model/UserInfo.h"

namespace q2 {

using TDisplayList = std::vector<TUserInfo*>;

}  // namespace q2
