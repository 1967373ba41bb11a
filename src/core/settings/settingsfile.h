// SPDX-License-Identifier: MIT

#pragma once

#include "settings/savedata.h"

#include <QString>
#include <optional>

namespace moravelt::SettingsFile {

// The settings file's name, looked up in the current directory.
inline QString fileName()
{
    return QStringLiteral("Moravelt.ini");
}

// The most a record can take: the numbers and three times a count and its longest text.
constexpr qint64 kMaxRecordBytes = 64 + 3 * (2 + 65535);

// Reads the record from the first kMaxRecordBytes of a regular file; nothing when the file is
// missing, unreadable, not a regular file (a folder, a device, a FIFO) or damaged. A link is
// followed only when it ends at a regular file; nothing else is opened.
std::optional<SaveData> read(const QString& path);

// Replaces the file atomically (a new file beside it, synced, then renamed over the name), so
// a failure mid-write leaves the old file whole and a link of that name is replaced, never
// written through. In a folder that cannot take a new file, a writable regular file is
// written in place, its whole new length reserved first (see InPlaceWrite); a link, or a
// file that another name shares, is then left alone. A folder, a device, a FIFO or a socket
// of that name is never opened for writing, and a file marked read-only is left alone.
// Throws MoraveltError saying where and why when the file cannot be written.
void write(const QString& path, const SaveData& data);

// Removes what a save killed part-way left beside the file (see SiblingFile); run at start.
// Returns how many files it removed.
int removeLeftovers(const QString& path);

} // namespace moravelt::SettingsFile
