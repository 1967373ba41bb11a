// SPDX-License-Identifier: MIT

#include "settings/settingsfile.h"

#include "base/moravelterror.h"
#include "settings/savedatacodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace moravelt::SettingsFile {

namespace {

// Why a write failed, in words a player can act on; the system's own text otherwise.
QString reason(int code, const QString& path, const QString& systemText)
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
    default:
        break;
    }
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります");
    if (info.isSymLink() && !info.exists())
        return QStringLiteral("リンク先がありません");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("書き込みが許可されていません");
    return systemText;
}

[[noreturn]] void fail(const QString& path, const QString& why)
{
    throw MoraveltError(QStringLiteral("設定を保存できませんでした。\n場所: %1\n理由: %2")
                            .arg(QFileInfo(path).absoluteFilePath(), why));
}

[[noreturn]] void fail(const QString& path, int code, const QSaveFile& file)
{
    fail(path, reason(code, path, file.errorString()));
}

bool markedReadOnly(const QString& path)
{
    // Checked on the mode bits, not on access: a file the player marked read-only stays as it
    // is even for a user whom the system would let write it.
    const QFileInfo info(path);
    constexpr auto kWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isFile() && !(info.permissions() & kWrite);
}

} // namespace

std::optional<SaveData> read(const QString& path)
{
    // Non-blocking, so that a FIFO cannot hold up the start; only a regular file is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status = {};
    QFile file;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    return SaveDataCodec::decode(file.read(kMaxRecordBytes));
}

void write(const QString& path, const SaveData& data)
{
    if (markedReadOnly(path))
        fail(path, QStringLiteral("ファイルが読み取り専用になっています"));
    QSaveFile file(path);
    // Without a writable folder the file cannot be replaced; a writable file is then
    // written in place.
    file.setDirectWriteFallback(true);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        fail(path, errno, file);
    const QByteArray bytes = SaveDataCodec::encode(data);
    // The write is buffered: a full disk shows only when the buffer is flushed, and the old
    // file must not be replaced unless every byte reached the new one.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int code = errno;
        file.cancelWriting();
        fail(path, code, file);
    }
    errno = 0;
    if (!file.commit())
        fail(path, errno, file);
}

} // namespace moravelt::SettingsFile
