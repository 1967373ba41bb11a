// SPDX-License-Identifier: MIT

#include "settings/siblingfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moravelt::SiblingFile {

namespace {

constexpr int kSuffixLength = 6;
constexpr char kSuffixCharacters[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The folder of path, opened for the *at calls, and the name within it.
struct Place
{
    explicit Place(const QString& path)
        : folder(::open(QFile::encodeName(QFileInfo(path).path()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
          name(QFile::encodeName(QFileInfo(path).fileName()))
    {
    }
    ~Place()
    {
        if (folder >= 0)
            ::close(folder);
    }
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;

    int folder;
    QByteArray name;
};

QByteArray temporaryName(const QByteArray& name)
{
    QByteArray result = name + '.';
    for (int i = 0; i < kSuffixLength; ++i)
        result += kSuffixCharacters[QRandomGenerator::system()->bounded(
            int(sizeof kSuffixCharacters - 1))];
    return result;
}

bool isTemporaryName(const char* entry, const QByteArray& name)
{
    const QByteArray text(entry);
    if (text.size() != name.size() + 1 + kSuffixLength || !text.startsWith(name + '.'))
        return false;
    for (qsizetype i = name.size() + 1; i < text.size(); ++i) {
        const char c = text.at(i);
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A new, empty, locked file beside the target; -1 with errno set when the folder refuses it.
int createLocked(const Place& place, QByteArray& created)
{
    for (;;) {
        created = temporaryName(place.name);
        const int fd = ::openat(place.folder, created.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // A cleaner at another start may have removed it between the creation and the lock.
        struct stat status = {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &status) == 0 && status.st_nlink > 0)
            return fd;
        ::close(fd);
    }
}

int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += n;
    }
    return 0;
}

} // namespace

int replace(const QString& path, const QByteArray& bytes, std::optional<mode_t> mode)
{
    const Place place(path);
    if (place.folder < 0)
        return errno;
    QByteArray temporary;
    const int fd = createLocked(place, temporary);
    if (fd < 0)
        return errno;
    int code = !mode || ::fchmod(fd, *mode & 0777) == 0 ? 0 : errno;
    if (code == 0)
        code = writeAll(fd, bytes);
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (code == 0 &&
        ::renameat(place.folder, temporary.constData(), place.folder, place.name.constData()) != 0)
        code = errno;
    if (code != 0)
        ::unlinkat(place.folder, temporary.constData(), 0);
    else
        ::fsync(place.folder); // the rename itself reaches the disk; a failure here loses nothing
    // Closing releases the lock, once the temporary name is gone.
    if (::close(fd) != 0 && code == 0 && errno != EINTR)
        code = errno;
    return code;
}

int removeLeftovers(const QString& path)
{
    const Place place(path);
    if (place.folder < 0)
        return 0;
    const int listFd = ::dup(place.folder);
    DIR* listing = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!listing) {
        if (listFd >= 0)
            ::close(listFd);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (!isTemporaryName(entry->d_name, place.name))
            continue;
        const int fd = ::openat(place.folder, entry->d_name,
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat opened = {};
        struct stat named = {};
        // Only this user's own regular files, which no save holds, and only if the name still
        // refers to the file that was checked.
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(place.folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(opened, named) && ::unlinkat(place.folder, entry->d_name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(listing);
    return removed;
}

} // namespace moravelt::SiblingFile
