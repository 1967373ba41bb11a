// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>

namespace moravelt {

// "import --mdb FILE --out DIR [--name FILE]": writes DIR/mapdata.mdb (or DIR/FILE), the map
// tool's SQLite map database, from a Jet 3 or Jet 4 map file read by the Jet reader in a child
// process. The Jet file is never written: an output that is the Jet file is refused, and so is
// the Jet file's own folder unless --name names the new file. Returns the process exit code.
int runImportCommand(const QStringList& args);

} // namespace moravelt
