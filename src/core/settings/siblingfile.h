// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/types.h>

namespace moravelt::SiblingFile {

// Writes the bytes to a new file beside path ("NAME.XXXXXX"), syncs it and renames it over
// path. The rename replaces the directory entry itself: a link of that name is replaced, its
// target never opened. The new file gets the given permission bits (those of the file it
// replaces), else what the umask leaves of 0666. While it exists, the temporary file is locked
// (flock), so that removeLeftovers can tell a live save from one that was killed. Returns 0,
// or the error number of the step that failed; the temporary file is gone by then and path is
// as it was.
int replace(const QString& path, const QByteArray& bytes, std::optional<mode_t> mode);

// Removes the temporary files that a killed replace left beside path: regular files of this
// user named "NAME.XXXXXX" that no live save holds locked. Returns how many it removed.
int removeLeftovers(const QString& path);

} // namespace moravelt::SiblingFile
