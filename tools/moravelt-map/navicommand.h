// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// moravelt-map navi --db FILE [--answers] ROUTE
// Prints the navigation list of a route string exactly as the game copies it to the clipboard.
int runNaviCommand(const QStringList& args);

} // namespace moravelt
