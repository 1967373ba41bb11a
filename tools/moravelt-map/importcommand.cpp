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
#include <QFileInfo>
#include <QTextStream>
#include <sys/stat.h>

namespace moravelt {

namespace {

const QString kDefaultName = QStringLiteral("mapdata.mdb");

// Whether two paths reach the same file or folder, whatever links or spellings lead there.
bool sameFile(const QString& a, const QString& b)
{
    using FileStatus = struct stat;
    FileStatus first{};
    FileStatus second{};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The file the import writes; the Jet file is never written, and its own folder is written
// into only under a name the map maker gave.
QString outputPath(const QString& jetPath, const QString& outDir, const QString& name)
{
    const QString fileName = name.isEmpty() ? kDefaultName : name;
    if (fileName != QFileInfo(fileName).fileName() || fileName == QStringLiteral(".") ||
        fileName == QStringLiteral(".."))
        throw MoraveltError(QStringLiteral("--name must be a file name, not \"%1\"").arg(name));
    if (name.isEmpty() && sameFile(outDir, QFileInfo(jetPath).absolutePath()))
        throw MoraveltError(QStringLiteral("%1 is the folder of the Jet file %2, which is never "
                                           "written; choose another --out, or name the new "
                                           "file with --name FILE")
                                .arg(outDir, jetPath));
    const QString path = QDir(outDir).filePath(fileName);
    if (sameFile(path, jetPath))
        throw MoraveltError(QStringLiteral("%1 is the Jet file being imported, which is never "
                                           "written; choose another --out or --name")
                                .arg(path));
    return path;
}

// The copy must hold names a route string can carry, as the game demands of every map.
void checkWrittenNames(const QString& jetPath, const QString& written)
{
    writeSqliteFile(written, QStringLiteral("moravelt-map-import-check"),
                    [&](QSqlDatabase& db) { checkRouteNames(jetPath, db); });
}

QString import(const QString& jetPath, const QString& outDir, const QString& name)
{
    const MapFileKind kind = mapFileKind(jetPath);
    if (kind == MapFileKind::Sqlite)
        throw MoraveltError(
            QStringLiteral("%1 is already an SQLite map database: the game reads it as it is")
                .arg(jetPath));
    if (kind != MapFileKind::Jet3 && kind != MapFileKind::Jet4)
        throw MoraveltError(mapFileFault(kind, jetPath));
    const QString path = outputPath(jetPath, outDir, name);
    if (!QDir().mkpath(outDir))
        throw MoraveltError(QStringLiteral("cannot create %1").arg(outDir));
    OutputFile database(path);
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
    CommandOptions options(args,
                           {QStringLiteral("mdb"), QStringLiteral("out"), QStringLiteral("name")});
    if (!options.require({QStringLiteral("mdb"), QStringLiteral("out")})) {
        err << "import: " << options.error()
            << "\nusage: moravelt-map import --mdb FILE --out DIR [--name FILE]\n";
        return 2;
    }
    try {
        QTextStream(stdout) << "import: "
                            << import(options.value(QStringLiteral("mdb")),
                                      options.value(QStringLiteral("out")),
                                      options.value(QStringLiteral("name")))
                            << '\n';
        return 0;
    } catch (const MoraveltError& e) {
        err << "import: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
