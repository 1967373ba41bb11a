// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// moravelt-map extract-coast --topojson FILE --out FILE
// Made the committed land extract once from Natural Earth's countries-10m.json.
int runExtractCoastCommand(const QStringList& args);

} // namespace moravelt
