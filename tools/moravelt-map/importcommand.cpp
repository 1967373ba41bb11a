// SPDX-License-Identifier: MIT

#include "importcommand.h"

#include "base/moravelterror.h"
#include "commandoptions.h"
#include "mapdb/jetreader.h"
#include "mapdb/mapfilekind.h"
#include "mapdb/mapschemacheck.h"
#include "mapdb/routenamecheck.h"
#include "outputfile.h"
#include "sqlitefilewrite.h"

#include <QDir>
#include <QTextStream>

namespace moravelt {

namespace {

// The copy must hold names a route string can carry, as the game demands of every map.
void checkWrittenNames(const QString& jetPath, const QString& written)
{
    writeSqliteFile(written, QStringLiteral("moravelt-map-import-check"),
                    [&](QSqlDatabase& db) { checkRouteNames(jetPath, db); });
}

QString import(const QString& jetPath, const QString& outDir)
{
    const MapFileKind kind = mapFileKind(jetPath);
    if (kind == MapFileKind::Sqlite)
        throw MoraveltError(
            QStringLiteral("%1 is already an SQLite map database: the game reads it as it is")
                .arg(jetPath));
    if (kind != MapFileKind::Jet3 && kind != MapFileKind::Jet4)
        throw MoraveltError(mapFileFault(kind, jetPath));
    if (!QDir().mkpath(outDir))
        throw MoraveltError(QStringLiteral("cannot create %1").arg(outDir));
    OutputFile database(QDir(outDir).filePath(QStringLiteral("mapdata.mdb")));
    const std::vector<int> rows =
        JetReader::copy(jetPath, database.tempPath(), JetReader::Nulls::AsBuilt);
    checkWrittenNames(jetPath, database.tempPath());
    database.commit();
    QStringList counts;
    const std::vector<ReadTable>& tables = tablesTheGameReads();
    for (std::size_t i = 0; i < tables.size() && i < rows.size(); ++i)
        counts << QStringLiteral("%1 %2").arg(tables[i].name).arg(rows[i]);
    return QStringLiteral("wrote %1 from Jet %2 file %3: %4 rows")
        .arg(database.finalPath())
        .arg(kind == MapFileKind::Jet3 ? 3 : 4)
        .arg(jetPath, counts.join(QStringLiteral(", ")));
}

} // namespace

int runImportCommand(const QStringList& args)
{
    QTextStream err(stderr);
    CommandOptions options(args, {QStringLiteral("mdb"), QStringLiteral("out")});
    if (!options.require({QStringLiteral("mdb"), QStringLiteral("out")})) {
        err << "import: " << options.error()
            << "\nusage: moravelt-map import --mdb FILE --out DIR\n";
        return 2;
    }
    try {
        QTextStream(stdout) << "import: "
                            << import(options.value(QStringLiteral("mdb")),
                                      options.value(QStringLiteral("out")))
                            << '\n';
        return 0;
    } catch (const MoraveltError& e) {
        err << "import: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
