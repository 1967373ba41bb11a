// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

// What a map file is, told from the file system and its first bytes, before any driver
// touches it: SQLite would take an empty file for an empty database, and a FIFO would block.
enum class MapFileKind
{
    Missing,
    Folder,
    NotRegular, // a device, a FIFO, a socket
    Unreadable,
    Empty,
    Sqlite,
    Jet3,
    Jet4,
    Ace, // Access 2007 and later
    Unknown,
};

MapFileKind mapFileKind(const QString& path);

// Why a file of this kind cannot be the map, in words naming the file; empty for SQLite and
// Jet files.
QString mapFileFault(MapFileKind kind, const QString& path);

} // namespace moravelt
