#pragma once

#include "app/savedata.h"

#include <QString>
#include <optional>

namespace moravelt::SettingsFile {

// The settings file's name, looked up in the current directory.
inline QString fileName()
{
    return QStringLiteral("Moravelt.ini");
}

// Reads the record; nothing when the file is missing, unreadable or damaged.
std::optional<SaveData> read(const QString& path);

// Replaces the file atomically (temporary file, then rename), so a failure mid-write leaves
// the old file whole. Throws MoraveltError when the file cannot be written.
void write(const QString& path, const SaveData& data);

} // namespace moravelt::SettingsFile
