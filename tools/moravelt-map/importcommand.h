// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// "import --mdb FILE --out DIR": writes DIR/mapdata.mdb, the map tool's SQLite map database,
// from a Jet 3 or Jet 4 map file read by the Jet reader in a child process. Returns the
// process exit code.
int runImportCommand(const QStringList& args);

} // namespace moravelt
