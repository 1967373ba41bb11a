// SPDX-License-Identifier: MIT

#include "worldcheck.h"

#include "coastlinefile.h"
#include "worldreader.h"
#include "worldvalidator.h"

#include <QDir>
#include <algorithm>

namespace moravelt {

WorldCheck WorldCheck::run(const QString& dataDir, const MapLayout& layout,
                           const QString& coastFile)
{
    WorldCheck check;
    check.world = std::make_unique<WorldData>(WorldReader(check.diag).read(dataDir));
    const QStringList& unsound = check.world->unsoundTables;
    // With a table unread, every row that names its towns would be reported again.
    if (unsound.isEmpty())
        WorldValidator(check.diag).validate(*check.world);
    if (!unsound.contains(QDir(dataDir).filePath(QStringLiteral("towns.tsv"))))
        check.placed = TownPlacer(layout, check.diag).place(*check.world);
    if (!coastFile.isEmpty())
        check.land = CoastlineFile::read(coastFile, check.diag);
    return check;
}

int WorldCheck::visibleTowns() const
{
    return int(std::count_if(world->towns.begin(), world->towns.end(),
                             [](const WorldTown& t) { return !t.hidden; }));
}

int WorldCheck::hiddenTowns() const
{
    return int(world->towns.size()) - visibleTowns();
}

QString WorldCheck::summary() const
{
    return QStringLiteral("%1 towns, %2 hidden towns, %3 road rows, %4 hidden-town rows, "
                          "%5 events, %6 quizzes")
        .arg(visibleTowns())
        .arg(hiddenTowns())
        .arg(world->roads.size())
        .arg(world->hiddenLegs.size())
        .arg(world->events.size())
        .arg(world->quizzes.size());
}

} // namespace moravelt
