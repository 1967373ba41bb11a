// SPDX-License-Identifier: MIT

#include "settings/placement.h"

#include "base/twips.h"

#include <QDir>

namespace moravelt {

QString DirPathGet(QString& path)
{
    const QChar separator = QDir::separator();
    if (!path.endsWith(separator))
        path += separator;
    return path;
}

std::int32_t workAreaValue(const WorkArea& area, const QString& key)
{
    const QString lower = key.toLower();
    if (lower == QLatin1String("left"))
        return area.left;
    if (lower == QLatin1String("top"))
        return area.top;
    if (lower == QLatin1String("width"))
        return area.right;
    if (lower == QLatin1String("height"))
        return area.bottom;
    return 0;
}

float settingFrmCoordinate(float twips, std::int32_t farEdgePixels)
{
    const std::int64_t farEdge = std::int64_t(farEdgePixels) * Twips::kPerPixel;
    if (twips < 0.0f || double(twips) > double(farEdge))
        return 0.0f;
    return twips;
}

} // namespace moravelt
