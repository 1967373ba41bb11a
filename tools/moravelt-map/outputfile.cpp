#include "outputfile.h"

#include "app/moravelterror.h"

#include <QCoreApplication>
#include <QFile>
#include <filesystem>
#include <system_error>

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
