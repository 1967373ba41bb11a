// SPDX-License-Identifier: MIT

#include "mapdb/mapdatabase.h"

#include "base/moravelterror.h"
#include "mapdb/jetreader.h"
#include "mapdb/mapfilekind.h"
#include "mapdb/mapschemacheck.h"
#include "mapdb/routenamecheck.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <atomic>

namespace moravelt {

namespace {

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("moravelt-map-%1").arg(counter.fetch_add(1));
}

} // namespace

QString MapDatabase::connectionString(const QString& folderWithSeparator)
{
    return connectionStringForFile(folderWithSeparator + QStringLiteral("mapdata.mdb"));
}

QString MapDatabase::connectionStringForFile(const QString& file)
{
    // A value with a ";" or a quote, or with spaces at an end, goes between double quotes,
    // a double quote inside doubled; any other stays as it is.
    QString value = file;
    if (value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('"')) ||
        value.contains(QLatin1Char('\'')) || value != value.trimmed())
        value = QLatin1Char('"') + value.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                QLatin1Char('"');
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + QStringLiteral("Data Source=") +
           value + QStringLiteral(";") +
           QStringLiteral("Jet OLEDB:Database Password=358035803580kodar");
}

QString MapDatabase::dataSource(const QString& connectionString)
{
    // "key=value" pairs separated by ";"; a value may stand between double or single quotes,
    // the quote doubled inside.
    const QString& cs = connectionString;
    qsizetype i = 0;
    while (i < cs.size()) {
        const qsizetype equals = cs.indexOf(QLatin1Char('='), i);
        if (equals < 0)
            return {};
        const QString key = cs.mid(i, equals - i).trimmed();
        i = equals + 1;
        while (i < cs.size() && cs[i].isSpace())
            ++i;
        QString value;
        if (i < cs.size() && (cs[i] == QLatin1Char('"') || cs[i] == QLatin1Char('\''))) {
            const QChar quote = cs[i++];
            for (; i < cs.size(); ++i) {
                if (cs[i] == quote) {
                    if (i + 1 < cs.size() && cs[i + 1] == quote) {
                        value += quote;
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += cs[i];
            }
            const qsizetype end = cs.indexOf(QLatin1Char(';'), i);
            i = end < 0 ? cs.size() : end + 1;
        } else {
            const qsizetype end = cs.indexOf(QLatin1Char(';'), i);
            value = cs.mid(i, end < 0 ? -1 : end - i).trimmed();
            i = end < 0 ? cs.size() : end + 1;
        }
        if (key.compare(QStringLiteral("Data Source"), Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

MapDatabase::MapDatabase(const QString& connectionString)
    : m_connectionName(nextConnectionName()), m_fileName(dataSource(connectionString))
{
    const MapFileKind kind = mapFileKind(m_fileName);
    try {
        if (kind == MapFileKind::Sqlite)
            openSqlite(m_fileName);
        else if (kind == MapFileKind::Jet3 || kind == MapFileKind::Jet4)
            openJet();
        else
            throw MoraveltError(mapFileFault(kind, m_fileName));
        checkRouteNames(m_fileName, QSqlDatabase::database(m_connectionName, false));
    } catch (const MoraveltError&) {
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

// Opens `file` (the map itself, or a Jet map's copy); every message names the map.
void MapDatabase::openSqlite(const QString& file)
{
    QString reason;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        // Immutable: no lock, no journal, no "-wal" or "-shm" file beside the map, whatever
        // mode the file was written in.
        db.setDatabaseName(
            QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()).toString(QUrl::FullyEncoded) +
            QStringLiteral("?immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        if (!db.open()) {
            reason = db.lastError().text();
        } else {
            // Reading the schema proves the file is a whole database.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                reason = probe.lastError().text();
        }
    }
    if (!reason.isEmpty())
        throw MoraveltError(QStringLiteral("%1を開けません。壊れています（%2）。")
                                .arg(mapFileNamed(m_fileName), reason));
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    checkMapSchema(
        m_fileName,
        [&db](const QString& table) -> std::optional<QStringList> {
            const QSqlRecord record = db.record(table);
            if (record.isEmpty())
                return std::nullopt;
            QStringList columns;
            for (int i = 0; i < record.count(); ++i)
                columns << record.fieldName(i);
            return columns;
        },
        Qt::CaseSensitive);
}

void MapDatabase::openJet()
{
    m_jetCopy =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/moravelt-XXXXXX"));
    if (!m_jetCopy->isValid())
        throw MoraveltError(QStringLiteral("%1を読み込む場所を作れません: %2")
                                .arg(mapFileNamed(m_fileName), m_jetCopy->errorString()));
    // The folder is the player's alone (mode 0700); the copy is opened as immutably as any
    // SQLite map, so the search's worker reads the same file through its own connection.
    const QString copy = m_jetCopy->filePath(QStringLiteral("mapdata.sqlite"));
    JetReader::copy(m_fileName, copy, JetReader::Nulls::Keep);
    openSqlite(copy);
}

MapDatabase::~MapDatabase()
{
    m_prepared.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlQuery& MapDatabase::prepared(const QString& text) const
{
    auto found = m_prepared.constFind(text);
    if (found != m_prepared.constEnd())
        return **found;
    auto query = std::make_shared<QSqlQuery>(QSqlDatabase::database(m_connectionName, false));
    query->setForwardOnly(true);
    if (!query->prepare(text))
        throw MoraveltError(QStringLiteral("地図データベースの問い合わせに失敗しました: %1")
                                .arg(query->lastError().text()));
    m_prepared.insert(text, query);
    return *query;
}

RecordsetPtr MapDatabase::open(const SqlText& sql) const
{
    QSqlQuery& query = prepared(sql.text);
    for (int i = 0; i < sql.values.size(); ++i)
        query.bindValue(i, sql.values[i]);
    if (!query.exec()) {
        const QString reason = query.lastError().text();
        m_prepared.remove(sql.text);
        throw MoraveltError(
            QStringLiteral("地図データベースの問い合わせに失敗しました: %1").arg(reason));
    }
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    std::vector<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row << query.value(i);
        rows.push_back(std::move(row));
    }
    const QSqlError failure = query.lastError();
    query.finish();
    if (failure.isValid()) {
        // Whether the engine fails on the first row (in exec) or a later one, the same fault
        // reads the same, and a failed statement is prepared afresh next time.
        m_prepared.remove(sql.text);
        throw MoraveltError(
            QStringLiteral("地図データベースの問い合わせに失敗しました: %1").arg(failure.text()));
    }
    return std::make_shared<Recordset>(std::move(columns), std::move(rows));
}

} // namespace moravelt
