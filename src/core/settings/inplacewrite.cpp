// SPDX-License-Identifier: MIT

#include "settings/inplacewrite.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace moravelt::InPlaceWrite {

namespace {

int writeAllAt(int fd, const QByteArray& bytes, qsizetype from, qsizetype to)
{
    while (from < to) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + from, size_t(to - from), off_t(from));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        from += n;
    }
    return 0;
}

// The bytes past the first page go first, synced, and the first page last, in one write that
// a kill cannot split (the system copies a write page by page and stops only between pages).
// Until then a record that fits in the first page, as every record short of very long texts
// does, is still whole.
int writeHeadLast(int fd, const QByteArray& bytes)
{
    const qsizetype head = std::min<qsizetype>(bytes.size(), ::sysconf(_SC_PAGESIZE));
    if (head < bytes.size()) {
        if (const int tail = writeAllAt(fd, bytes, head, bytes.size()); tail != 0)
            return tail;
        if (::fdatasync(fd) != 0)
            return errno;
    }
    return writeAllAt(fd, bytes, 0, head);
}

Outcome writeOpened(int fd, const QByteArray& bytes, const struct stat& expected)
{
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0)
        return {errno, false};
    if (!S_ISREG(opened.st_mode) || opened.st_dev != expected.st_dev ||
        opened.st_ino != expected.st_ino)
        return {EBUSY, false}; // replaced since it was looked at
    // posix_fallocate returns its error rather than setting errno.
    if (const int reserved = ::posix_fallocate(fd, 0, off_t(bytes.size())); reserved != 0)
        return {reserved, false};
    if (const int written = writeHeadLast(fd, bytes); written != 0)
        return {written, true};
    if (::fdatasync(fd) != 0)
        return {errno, true};
    // Until here a longer old file keeps its tail; a reader takes the record from the start.
    if (opened.st_size > bytes.size() &&
        (::ftruncate(fd, off_t(bytes.size())) != 0 || ::fdatasync(fd) != 0))
        return {errno, true};
    return {};
}

} // namespace

Outcome overwrite(const QString& path, const QByteArray& bytes, const struct stat& expected)
{
    // Neither emptied on opening nor followed if it became a link; a FIFO does not block.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {errno, false};
    Outcome outcome = writeOpened(fd, bytes, expected);
    if (::close(fd) != 0 && outcome.code == 0 && errno != EINTR)
        outcome = {errno, true};
    return outcome;
}

} // namespace moravelt::InPlaceWrite
