// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt::RouteSummary {

// What a route comes to, shown under its navigation list: the total of its route string in
// kilometres and its number of legs, as "合計 123 km・2 区間". Empty for a text that is no
// route string.
QString text(const QString& route);

} // namespace moravelt::RouteSummary
