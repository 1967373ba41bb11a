// SPDX-License-Identifier: MIT

#include "outputfile.h"

#include "base/moravelterror.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace moravelt {

OutputFile::OutputFile(const QString& finalPath)
    : m_finalPath(finalPath),
      m_tempPath(QStringLiteral("%1.%2.tmp").arg(finalPath).arg(QCoreApplication::applicationPid()))
{
    QFile::remove(m_tempPath);
}

OutputFile::~OutputFile()
{
    if (!m_committed)
        QFile::remove(m_tempPath);
}

void OutputFile::writeWhole(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    const auto fail = [&](const QString& why) {
        throw MoraveltError(QStringLiteral("cannot write %1: %2").arg(path, why));
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush())
        fail(file.errorString());
    // A full disk may show only when the data reaches it; a device without fsync is fine.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(file.errorString());
}

void OutputFile::commit()
{
    // rename() replaces the old file in one step.
    std::error_code error;
    std::filesystem::rename(m_tempPath.toStdString(), m_finalPath.toStdString(), error);
    if (error)
        throw MoraveltError(
            QStringLiteral("%1: %2").arg(m_finalPath, QString::fromStdString(error.message())));
    m_committed = true;
}

} // namespace moravelt
