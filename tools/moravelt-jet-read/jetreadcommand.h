// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

namespace moravelt {

// The reader program's work: `[--as-built] JET_FILE SQLITE_FILE` copies the map tables of the
// Jet file into a new SQLite file. What it has to say to the program that started it goes to
// `report`: the rows per table ("rows N N N N N") when it exits 0, or one message a player can
// read when it exits with JetReader::kRefusedExit. Exit code 2 is a wrong call.
int runJetRead(const QStringList& args, const std::function<void(const QByteArray&)>& report);

} // namespace moravelt
