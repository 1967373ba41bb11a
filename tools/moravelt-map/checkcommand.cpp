// SPDX-License-Identifier: MIT

#include "checkcommand.h"

#include "commandoptions.h"
#include "worldcheck.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace moravelt {

int runCheckCommand(const QStringList& args)
{
    QTextStream err(stderr);
    CommandOptions options(args, {QStringLiteral("data"), QStringLiteral("coast")});
    if (!options.require({QStringLiteral("data")})) {
        err << "check: " << options.error()
            << "\nusage: moravelt-map check --data DIR [--coast FILE]\n";
        return 2;
    }
    const QString dataDir = options.value(QStringLiteral("data"));
    // The land extract the build would draw, when the data folder has one.
    QString coast = QDir(dataDir).filePath(QStringLiteral("naturalearth/coast.txt"));
    if (!QFileInfo::exists(coast))
        coast.clear();
    coast = options.value(QStringLiteral("coast"), coast);
    const MapLayout layout;
    const WorldCheck check = WorldCheck::run(dataDir, layout, coast);
    for (const QString& line : check.diag.lines())
        err << line << '\n';
    if (check.diag.hasErrors()) {
        if (!check.world->unsoundTables.isEmpty())
            err << "check: the checks across tables run once every table can be read\n";
        err << "check: " << check.diag.count() << " faults\n";
        return 1;
    }
    QTextStream(stdout) << "check: ok, " << check.summary() << '\n';
    return 0;
}

} // namespace moravelt
