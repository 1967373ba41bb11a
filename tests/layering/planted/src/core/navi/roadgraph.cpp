// SPDX-License-Identifier: MIT
#include "mapdb/mapdatabase.h"
// Planted: a core file reaching a window, once by its root and once by a relative path.
#include "windows/form1.h"
#include "../../ui/windows/form1.h"
