// SPDX-License-Identifier: MIT

#include "jetreadcommand.h"

#include "base/moravelterror.h"
#include "jetfile.h"
#include "jetimport.h"
#include "mapdb/jetreader.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

namespace moravelt {

namespace {

const QString kConnection = QStringLiteral("moravelt-jet-read");

void run(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw MoraveltError(QStringLiteral("地図データベースの写しを作れません: %1: %2")
                                .arg(sql, query.lastError().text()));
}

std::vector<int> copy(const JetFile& jet, const QString& target, JetImport::Nulls nulls)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
    db.setDatabaseName(target);
    if (!db.open())
        throw MoraveltError(QStringLiteral("地図データベースの写し %1 を作れません: %2")
                                .arg(target, db.lastError().text()));
    // A copy is written whole or not at all (the program that started this one removes a
    // part left by a failure), so no journal is left beside it; the game's copy lives in a
    // private temporary folder and goes with the game, so it need not reach the disk either.
    run(db, QStringLiteral("PRAGMA journal_mode = OFF"));
    if (nulls == JetImport::Nulls::Keep)
        run(db, QStringLiteral("PRAGMA synchronous = OFF"));
    const std::vector<int> rows = JetImport::copy(jet, db, nulls);
    if (nulls == JetImport::Nulls::AsBuilt)
        run(db, QStringLiteral("VACUUM"));
    db.close();
    return rows;
}

} // namespace

int runJetRead(const QStringList& args, const std::function<void(const QByteArray&)>& report)
{
    QStringList files = args;
    const bool asBuilt = files.removeAll(QStringLiteral("--as-built")) > 0;
    if (files.size() != 2 || files[0].startsWith(QLatin1Char('-')) ||
        files[1].startsWith(QLatin1Char('-'))) {
        QTextStream(stderr) << "usage: moravelt-jet-read [--as-built] JET_FILE SQLITE_FILE\n";
        return 2;
    }
    int code = 0;
    try {
        const JetFile jet(files[0]);
        const std::vector<int> rows =
            copy(jet, files[1], asBuilt ? JetImport::Nulls::AsBuilt : JetImport::Nulls::Keep);
        QByteArray line = "rows";
        for (int count : rows)
            line += ' ' + QByteArray::number(count);
        report(line + '\n');
    } catch (const MoraveltError& e) {
        report(e.message().toUtf8());
        code = JetReader::kRefusedExit;
    }
    QSqlDatabase::removeDatabase(kConnection);
    return code;
}

} // namespace moravelt
