// SPDX-License-Identifier: MIT

#include "quiz/scorestore.h"

#include "base/moravelterror.h"
#include "mapdb/querytexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <atomic>

namespace moravelt {

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QStringList kColumns{"日時", "ルート", "得点", "満点", "正解数", "問題数", "秒", "シード"};

QString nextConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("moravelt-scores-%1").arg(counter.fetch_add(1));
}

// The mode bits, not access(): a file the player marked read-only stays as it is even for a
// user whom the system would let write it.
bool markedReadOnly(const QFileInfo& info)
{
    constexpr auto kWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !(info.permissions() & kWrite);
}

// Run one statement; the engine's own words on failure.
QSqlQuery run(const QSqlDatabase& db, const SqlText& sql, QString* failure)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql.text)) {
        *failure = query.lastError().text();
        return query;
    }
    for (int i = 0; i < sql.values.size(); ++i)
        query.bindValue(i, sql.values[i]);
    if (!query.exec())
        *failure = query.lastError().text();
    return query;
}

} // namespace

QString ScoreStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/moravelt/scores.sqlite");
}

ScoreStore::ScoreStore(const QString& path) : m_path(path), m_connectionName(nextConnectionName())
{
    try {
        open();
    } catch (...) {
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

ScoreStore::~ScoreStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

void ScoreStore::fail(const QString& why) const
{
    throw MoraveltError(QStringLiteral("記録のファイル「%1」を使えません: %2。記録なしで続けます。")
                            .arg(m_path, why));
}

void ScoreStore::checkFile() const
{
    const QFileInfo info(m_path);
    if (!info.exists()) {
        if (!QDir().mkpath(info.absolutePath()))
            fail(QStringLiteral("フォルダーを作れません"));
        return;
    }
    if (!info.isFile())
        fail(QStringLiteral("ファイルではありません"));
    if (markedReadOnly(info))
        fail(QStringLiteral("読み取り専用です"));
    // An empty file is an empty database to SQLite; anything else must say what it is.
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("読めません（%1）").arg(file.errorString()));
    const QByteArray head = file.read(16);
    if (!head.isEmpty() && head != QByteArray("SQLite format 3\0", 16))
        fail(QStringLiteral("SQLite のデータベースではありません"));
}

void ScoreStore::open()
{
    checkFile();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(m_path);
    // Another game writing its record holds the lock for a moment; longer means it is stuck.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open())
        fail(QStringLiteral("開けません（%1）").arg(db.lastError().text()));
    checkSchema();
}

void ScoreStore::checkSchema()
{
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    // Reading only, so a damaged file stays as it is.
    QString failure;
    QSqlQuery check = run(db, QueryTexts::scoresQuickCheck(), &failure);
    if (failure.isEmpty() && check.next() && check.value(0).toString() != QStringLiteral("ok"))
        failure = check.value(0).toString();
    check.finish();
    if (!failure.isEmpty()) {
        if (failure.contains(QStringLiteral("locked")))
            fail(QStringLiteral("ほかのプログラムが使っています（%1）").arg(failure));
        fail(QStringLiteral("壊れています（%1）").arg(failure));
    }
    QSqlQuery tables = run(db, QueryTexts::scoresTables(), &failure);
    QStringList names;
    while (failure.isEmpty() && tables.next())
        names << tables.value(0).toString();
    tables.finish();
    if (!failure.isEmpty())
        fail(QStringLiteral("読めません（%1）").arg(failure));
    if (names.contains(QStringLiteral("tbl_記録"))) {
        const QSqlRecord record = db.record(QStringLiteral("tbl_記録"));
        for (const QString& column : kColumns)
            if (!record.contains(column))
                fail(QStringLiteral("記録の表に列「%1」がありません").arg(column));
        return;
    }
    if (!names.isEmpty())
        fail(QStringLiteral("記録のデータベースではありません"));
    QSqlDatabase writable = db;
    if (!writable.transaction())
        fail(QStringLiteral("書き込めません（%1）").arg(writable.lastError().text()));
    run(writable, QueryTexts::scoresCreate(), &failure);
    if (!failure.isEmpty() || !writable.commit()) {
        const QString reason = failure.isEmpty() ? writable.lastError().text() : failure;
        writable.rollback();
        fail(QStringLiteral("記録の表を作れません（%1）").arg(reason));
    }
}

void ScoreStore::add(const ScoreRecord& r)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    const auto failed = [&](const QString& reason) {
        throw MoraveltError(
            QStringLiteral("記録を書き込めません（%1）。記録なしで続けます。").arg(reason));
    };
    if (!db.transaction())
        failed(db.lastError().text());
    QString failure;
    run(db,
        QueryTexts::scoreInsert({r.when.toString(kDateFormat), r.route, r.score, r.possible,
                                 r.right, r.questions, r.seconds, qint64(r.seed)}),
        &failure);
    if (failure.isEmpty() && !db.commit())
        failure = db.lastError().text();
    if (!failure.isEmpty()) {
        db.rollback();
        failed(failure);
    }
}

std::optional<int> ScoreStore::bestOf(const QString& route) const
{
    QString failure;
    QSqlQuery query = run(QSqlDatabase::database(m_connectionName, false),
                          QueryTexts::scoresBestOfRoute(route), &failure);
    if (!failure.isEmpty())
        throw MoraveltError(QStringLiteral("記録を読めません（%1）").arg(failure));
    if (!query.next() || query.value(0).isNull())
        return std::nullopt;
    return query.value(0).toInt();
}

std::vector<ScoreRecord> ScoreStore::best(int limit) const
{
    return records(QueryTexts::scoresBest(limit));
}

std::vector<ScoreRecord> ScoreStore::latest(int limit) const
{
    return records(QueryTexts::scoresLatest(limit));
}

std::vector<ScoreRecord> ScoreStore::records(const SqlText& sql) const
{
    QString failure;
    QSqlQuery query = run(QSqlDatabase::database(m_connectionName, false), sql, &failure);
    std::vector<ScoreRecord> rows;
    while (failure.isEmpty() && query.next()) {
        rows.push_back({QDateTime::fromString(query.value(0).toString(), kDateFormat),
                        query.value(1).toString(), query.value(2).toInt(), query.value(3).toInt(),
                        query.value(4).toInt(), query.value(5).toInt(), query.value(6).toInt(),
                        quint32(query.value(7).toLongLong())});
    }
    if (failure.isEmpty() && query.lastError().isValid())
        failure = query.lastError().text();
    if (!failure.isEmpty())
        throw MoraveltError(QStringLiteral("記録を読めません（%1）").arg(failure));
    return rows;
}

} // namespace moravelt
