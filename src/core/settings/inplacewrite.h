// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

namespace moravelt::InPlaceWrite {

// How an in-place write ended: 0 or the error number of the failed step, and whether any of
// the old bytes may have been overwritten by then.
struct Outcome
{
    int code = 0;
    bool touched = false;
};

// Writes the bytes over the regular file at path, for a folder that cannot take a new file.
// The whole new length is reserved first (posix_fallocate), so that a full disk stops the
// write before it begins; the old bytes are then overwritten without emptying the file, the
// first page last, synced, and only then is the file trimmed to the new length. A kill at any
// point leaves the old record or the new one, unless both are longer than a memory page. Writes
// nothing unless path still names the very file `expected` describes (not a link, not another
// file).
Outcome overwrite(const QString& path, const QByteArray& bytes, const struct stat& expected);

} // namespace moravelt::InPlaceWrite
