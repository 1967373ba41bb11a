// SPDX-License-Identifier: MIT
#include "base/error.h"
