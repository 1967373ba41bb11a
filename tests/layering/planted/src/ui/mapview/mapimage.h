// SPDX-License-Identifier: MIT
// Planted: the map view reaching sideways into the windows.
#include "windows/form1.h"
