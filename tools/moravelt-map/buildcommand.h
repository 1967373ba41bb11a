// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// moravelt-map build --data DIR --out DIR [--scale S] [--coast FILE] [--quality Q]
// Validates the sample world and writes "mapdata.mdb" and "map.jpg" into the output folder;
// a failed build leaves the folder as it was. --scale shrinks the picture (tests use it).
int runBuildCommand(const QStringList& args);

} // namespace moravelt
