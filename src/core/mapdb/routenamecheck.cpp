// SPDX-License-Identifier: MIT

#include "mapdb/routenamecheck.h"

#include "base/moravelterror.h"
#include "mapdb/mapschemacheck.h"
#include "mapdb/querytexts.h"

#include <QSqlError>
#include <QSqlQuery>

namespace moravelt {

namespace {

constexpr int kNamed = 5;

// A name as a message can show it: the invisible characters spelled out.
QString shown(QString name)
{
    return QStringLiteral("「%1」").arg(name.replace(QLatin1Char('\t'), QStringLiteral("<TAB>"))
                                            .replace(QLatin1Char('\r'), QStringLiteral("<CR>"))
                                            .replace(QLatin1Char('\n'), QStringLiteral("<LF>")));
}

} // namespace

QStringList namesRoutesCannotCarry(const QSqlDatabase& db)
{
    const SqlText sql = QueryTexts::namesRoutesCannotCarry();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool ok = query.prepare(sql.text);
    for (int i = 0; ok && i < sql.values.size(); ++i)
        query.bindValue(i, sql.values[i]);
    if (!ok || !query.exec())
        throw MoraveltError(QStringLiteral("地図データベースの問い合わせに失敗しました: %1")
                                .arg(query.lastError().text()));
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

void checkRouteNames(const QString& file, const QSqlDatabase& db)
{
    QStringList names;
    try {
        names = namesRoutesCannotCarry(db);
    } catch (const MoraveltError&) {
        // A table whose rows cannot be read is reported by the read that needs them, when
        // the player does what needs it; the game starts as it did.
        return;
    }
    if (names.isEmpty())
        return;
    QStringList listed;
    for (const QString& name : names.mid(0, kNamed))
        listed << shown(name);
    QString text = listed.join(QString());
    if (names.size() > kNamed)
        text += QStringLiteral("ほか %1 個").arg(names.size() - kNamed);
    throw MoraveltError(
        QStringLiteral("%1の地名%2には、ルートの区切りに使う「-」「+」か、タブや改行が入って"
                       "います。この地図ではルートを正しく表せません。地名を直してください。")
            .arg(mapFileNamed(file), text));
}

} // namespace moravelt
