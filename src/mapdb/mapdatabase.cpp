#include "mapdb/mapdatabase.h"

#include "app/moravelterror.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;") + QStringLiteral("Data Source=") +
           folderWithSeparator + QStringLiteral("mapdata.mdb;") +
           QStringLiteral("Jet OLEDB:Database Password=358035803580kodar");
}

QString MapDatabase::dataSource(const QString& connectionString)
{
    const QString key = QStringLiteral("Data Source=");
    const qsizetype start = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0)
        return {};
    const qsizetype from = start + key.size();
    const qsizetype end = connectionString.indexOf(QLatin1Char(';'), from);
    return connectionString.mid(from, end < 0 ? -1 : end - from);
}

MapDatabase::MapDatabase(const QString& connectionString)
    : m_connectionName(nextConnectionName()), m_fileName(dataSource(connectionString))
{
    const QString shown = QFileInfo(m_fileName).fileName();
    if (!QFileInfo(m_fileName).isFile())
        throw MoraveltError(QStringLiteral("「%1」がありません: %2").arg(shown, m_fileName));
    QString reason;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(m_fileName);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            reason = db.lastError().text();
        } else {
            // SQLite opens any file lazily; reading the schema proves it is a database.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                reason = probe.lastError().text();
        }
    }
    if (!reason.isEmpty()) {
        QSqlDatabase::removeDatabase(m_connectionName);
        throw MoraveltError(QStringLiteral("「%1」を開けません: %2").arg(shown, reason));
    }
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
    if (!query.exec())
        throw MoraveltError(QStringLiteral("地図データベースの問い合わせに失敗しました: %1")
                                .arg(query.lastError().text()));
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
    if (failure.isValid())
        throw MoraveltError(
            QStringLiteral("地図データベースの読み込みに失敗しました: %1").arg(failure.text()));
    return std::make_shared<Recordset>(std::move(columns), std::move(rows));
}

} // namespace moravelt
