// SPDX-License-Identifier: MIT

#include "settings/settingsfile.h"

#include "base/moravelterror.h"
#include "settings/inplacewrite.h"
#include "settings/savedatacodec.h"
#include "settings/siblingfile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moravelt::SettingsFile {

namespace {

// Why a write failed, in words a player can act on; the system's own text otherwise.
QString reason(int code)
{
    switch (code) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクに空きがありません");
    case EFBIG:
        return QStringLiteral("ファイルの大きさの上限を超えました");
    case EROFS:
        return QStringLiteral("読み取り専用のディスクです");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込みが許可されていません");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダーがあります");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダーがありません");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました");
    case ELOOP:
        return QStringLiteral("ファイルがリンクに置き換えられました。リンク先には書き込みません");
    case EBUSY:
        return QStringLiteral("保存の途中でファイルが置き換えられました");
    default:
        return qt_error_string(code);
    }
}

[[noreturn]] void fail(const QString& path, const QString& why)
{
    throw MoraveltError(QStringLiteral("設定を保存できませんでした。\n場所: %1\n理由: %2")
                            .arg(QFileInfo(path).absoluteFilePath(), why));
}

bool folderRefusesNewFiles(int code)
{
    return code == EACCES || code == EPERM || code == EROFS;
}

// The folder cannot take a new file: only the regular file already there may be written, in
// place, and only when nothing else shares it.
void writeInPlace(const QString& path, const QByteArray& bytes, const struct stat& existing)
{
    if (S_ISLNK(existing.st_mode))
        fail(path, QStringLiteral("リンクになっています。このフォルダーには新しいファイルを作れない"
                                  "ため、リンク先には書き込みません"));
    if (existing.st_nlink > 1)
        fail(path, QStringLiteral("ほかの名前と共有されたファイル（ハードリンク）です。このフォル"
                                  "ダーには新しいファイルを作れないため、書き込みません"));
    const InPlaceWrite::Outcome outcome = InPlaceWrite::overwrite(path, bytes, existing);
    if (outcome.code == 0)
        return;
    if (!outcome.touched &&
        (outcome.code == ENOSPC || outcome.code == EDQUOT || outcome.code == EFBIG))
        fail(path, reason(outcome.code) +
                       QStringLiteral("。新しい内容の場所を確保できなかったので、何も書き込んでいま"
                                      "せん。元のファイルはそのままです"));
    fail(path, reason(outcome.code));
}

} // namespace

std::optional<SaveData> read(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // A link is followed only when it ends at a regular file: nothing else is even opened.
    struct stat named = {};
    if (::stat(name.constData(), &named) != 0 || !S_ISREG(named.st_mode))
        return std::nullopt;
    // Non-blocking, in case the name was swapped for a FIFO after the check.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat opened = {};
    QFile file;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != named.st_dev ||
        opened.st_ino != named.st_ino ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return SaveDataCodec::decode(file.read(kMaxRecordBytes));
}

void write(const QString& path, const SaveData& data)
{
    struct stat existing = {};
    if (::lstat(QFile::encodeName(path).constData(), &existing) != 0) {
        if (errno != ENOENT)
            fail(path, reason(errno));
        existing.st_mode = 0;
    }
    const mode_t kind = existing.st_mode & S_IFMT;
    if (kind == S_IFDIR)
        fail(path, reason(EISDIR));
    if (kind != 0 && kind != S_IFREG && kind != S_IFLNK)
        fail(path, QStringLiteral("通常のファイルではありません（デバイス、FIFO、ソケットなど）。"
                                  "何も書き込んでいません"));
    // Checked on the mode bits, not on access: a file the player marked read-only stays as it
    // is even for a user whom the system would let write it.
    if (kind == S_IFREG && !(existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)))
        fail(path, QStringLiteral("ファイルが読み取り専用になっています"));

    const QByteArray bytes = SaveDataCodec::encode(data);
    // A new file renamed over the name, so that a failure mid-write leaves the old file whole
    // and a link is replaced rather than followed; the file keeps its permissions.
    const int code = SiblingFile::replace(
        path, bytes, kind == S_IFREG ? std::optional<mode_t>(existing.st_mode) : std::nullopt);
    if (code == 0)
        return;
    if (!folderRefusesNewFiles(code) || kind == 0)
        fail(path, reason(code));
    writeInPlace(path, bytes, existing);
}

int removeLeftovers(const QString& path)
{
    return SiblingFile::removeLeftovers(path);
}

} // namespace moravelt::SettingsFile
