// SPDX-License-Identifier: MIT

#pragma once

#include "settings/placement.h"

namespace moravelt {

// One coordinate of the primary screen's usable area (without docks and panels), in pixels,
// by key (see workAreaValue); asked afresh on every call.
std::int32_t WorkAreaGet(const QString& key);

} // namespace moravelt
