// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// moravelt-map check --data DIR
// Validates the sample world; every fault goes to stderr as FILE:LINE: message.
int runCheckCommand(const QStringList& args);

} // namespace moravelt
