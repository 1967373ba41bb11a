#pragma once

#include "app/placement.h"

namespace moravelt {

// The primary screen's usable area (without docks and panels), in pixels.
WorkArea currentWorkArea();

// One coordinate of the current work area by key (see workAreaValue).
std::int32_t WorkAreaGet(const QString& key);

} // namespace moravelt
