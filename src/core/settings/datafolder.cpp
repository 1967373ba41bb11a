// SPDX-License-Identifier: MIT

#include "settings/datafolder.h"

#include "base/moravelterror.h"
#include "settings/placement.h"

#include <QDir>
#include <QFileInfo>

namespace moravelt {

namespace {

const QStringList& dataFiles()
{
    static const QStringList files{QStringLiteral("mapdata.mdb"), QStringLiteral("map.jpg")};
    return files;
}

} // namespace

QStringList DataFolder::places(const QString& programFolder)
{
    QString own = programFolder;
    QString shared = QDir::cleanPath(programFolder + QStringLiteral("/../share/moravelt"));
    return {DirPathGet(own), DirPathGet(shared)};
}

DataFolder DataFolder::find(const QString& programFolder)
{
    DataFolder result;
    for (const QString& place : places(programFolder)) {
        QStringList missing;
        for (const QString& file : dataFiles()) {
            if (!QFileInfo(place + file).isFile())
                missing << file;
        }
        result.m_tried << place;
        result.m_missing << missing.join(QStringLiteral("、"));
        if (missing.isEmpty()) {
            result.m_folder = place;
            break;
        }
    }
    return result;
}

QString DataFolder::require() const
{
    if (found())
        return m_folder;
    QString message = QStringLiteral("地図データが見つかりません。探した場所:");
    for (qsizetype i = 0; i < m_tried.size(); ++i)
        message += QStringLiteral("\n%1 （%2 がありません）").arg(m_tried[i], m_missing[i]);
    throw MoraveltError(message);
}

} // namespace moravelt
