// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

class FlexGridModel;

// The navigation list as clipboard text: every row from 1 on, each cell followed by a tab,
// each row ended by CR LF. The fixed row 0 is left out; there is no row limit.
QString naviCopyText(const FlexGridModel& grid);

} // namespace moravelt
