// A large book of plausible records for benchmarks.
#pragma once

#include "model/UserInfoList.h"

namespace q2bench {

// `count` records with Japanese names, addresses and two history entries;
// one in `pictureEvery` carries a JPEG of about 20 KB (0 for none).
void FillSampleBook(q2::TUserInfoList& book, int count, int pictureEvery = 100);

}  // namespace q2bench
