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
// missing, unreadable, not a regular file (a folder, a device, a FIFO) or damaged.
std::optional<SaveData> read(const QString& path);

// Replaces the file atomically (temporary file, then rename), so a failure mid-write leaves
// the old file whole; in a folder that cannot take a new file, a writable file is written in
// place. A file marked read-only is left alone. Throws MoraveltError saying where and why
// when the file cannot be written.
void write(const QString& path, const SaveData& data);

} // namespace moravelt::SettingsFile
