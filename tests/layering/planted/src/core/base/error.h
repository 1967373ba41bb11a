// SPDX-License-Identifier: MIT
// Planted: base includes the map database above it.
#include "mapdb/mapdatabase.h"
