// SPDX-License-Identifier: MIT

#include "peakmemory.h"

#include <QByteArray>
#include <QFile>

namespace moravelt {

namespace {

// A "Vm...:   1234 kB" line of /proc/self/status, in bytes.
std::int64_t statusBytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').first().toLongLong() *
                   1024;
    }
    return 0;
}

} // namespace

PeakMemory::PeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    m_startBytes = statusBytes("VmRSS:");
}

std::int64_t PeakMemory::growthBytes() const
{
    return statusBytes("VmHWM:") - m_startBytes;
}

} // namespace moravelt
