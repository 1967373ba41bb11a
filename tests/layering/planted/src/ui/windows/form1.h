// SPDX-License-Identifier: MIT
#include "mapview/mapimage.h"
#include "navi/roadgraph.h"
