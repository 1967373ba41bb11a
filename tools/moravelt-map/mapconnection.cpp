// SPDX-License-Identifier: MIT

#include "mapconnection.h"

#include "mapdb/mapdatabase.h"

#include <QFileInfo>

namespace moravelt {

QString mapConnectionString(const QString& path)
{
    return MapDatabase::connectionStringForFile(QFileInfo(path).absoluteFilePath());
}

} // namespace moravelt
