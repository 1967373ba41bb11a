// SPDX-License-Identifier: MIT

#pragma once

#include "testmapdb.h"

namespace moravelt {

// A road map shaped like Japan's: towns scattered over a long, narrow band, each joined by
// two-way roads to its three to five nearest neighbours, lengths in whole kilometres.
test::TestMap japanLikeMap(int towns, quint32 seed);

} // namespace moravelt
