// SPDX-License-Identifier: MIT

#include "jetcolumncheck.h"

#include <glib.h>

#include <mdbtools.h>

namespace moravelt {

namespace {

struct JetType
{
    int number;
    const char* name;
    int fixedSize; // bytes; 0 for a value of variable length, -1 for Yes/No (no bytes)
    ColumnUse use;
};

// The column types of Jet 3 and Jet 4, as Access names them.
const JetType kTypes[] = {
    {MDB_BOOL, "Yes/No", -1, ColumnUse::Any},
    {MDB_BYTE, "Byte", 1, ColumnUse::Number},
    {MDB_INT, "Integer", 2, ColumnUse::Number},
    {MDB_LONGINT, "Long", 4, ColumnUse::Number},
    {MDB_MONEY, "Currency", 8, ColumnUse::Number},
    {MDB_FLOAT, "Single", 4, ColumnUse::Number},
    {MDB_DOUBLE, "Double", 8, ColumnUse::Number},
    {MDB_DATETIME, "Date/Time", 8, ColumnUse::Any},
    {MDB_BINARY, "Binary", 0, ColumnUse::Any},
    {MDB_TEXT, "Text", 0, ColumnUse::Text},
    {MDB_OLE, "OLE Object", 0, ColumnUse::Any},
    {MDB_MEMO, "Memo", 0, ColumnUse::Text},
    {MDB_REPID, "Replication ID", 16, ColumnUse::Any},
    {MDB_NUMERIC, "Decimal", 17, ColumnUse::Number},
};

const JetType* jetType(int number)
{
    for (const JetType& type : kTypes) {
        if (type.number == number)
            return &type;
    }
    return nullptr;
}

} // namespace

bool oneCharacterApart(const QString& a, const QString& b)
{
    const QString x = a.toCaseFolded();
    const QString y = b.toCaseFolded();
    if (x.size() != y.size())
        return false;
    qsizetype differences = 0;
    for (qsizetype i = 0; i < x.size(); ++i)
        differences += x[i] != y[i] ? 1 : 0;
    return differences == 1;
}

bool soundName(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == QChar(QChar::ReplacementCharacter) || c.isSurrogate() ||
            c.isNonCharacter())
            return false;
    }
    return true;
}

QString shownName(const QString& name)
{
    QString shown;
    for (const QChar c : name) {
        const QChar::Category category = c.category();
        if (c.isPrint() && category != QChar::Other_PrivateUse && category != QChar::Other_Format)
            shown += c;
        else
            shown += QStringLiteral("<U+%1>").arg(QString::number(c.unicode(), 16).toUpper(), 4,
                                                  QLatin1Char('0'));
    }
    return QStringLiteral("「%1」").arg(shown);
}

ColumnUse columnUse(const QString& column)
{
    static const QStringList numbers = {QStringLiteral("x"), QStringLiteral("y"),
                                        QStringLiteral("km"), QStringLiteral("隠れた街までの距離")};
    static const QStringList texts = {
        QStringLiteral("地名"), QStringLiteral("出発地"), QStringLiteral("目的地"),
        QStringLiteral("出発"), QStringLiteral("隠れ"),   QStringLiteral("イベント"),
        QStringLiteral("Ans1"), QStringLiteral("Ans2"),   QStringLiteral("Ans3"),
    };
    if (numbers.contains(column, Qt::CaseInsensitive))
        return ColumnUse::Number;
    if (texts.contains(column, Qt::CaseInsensitive))
        return ColumnUse::Text;
    return ColumnUse::Any;
}

QString jetColumnFault(const QString& table, const JetFile::Column& column, ColumnUse use)
{
    const QString named = QStringLiteral("表「%1」の列%2").arg(table, shownName(column.name));
    const JetType* type = jetType(column.type);
    if (!type)
        return QStringLiteral("%1の型が壊れています（型の番号 %2 は Jet にありません）。")
            .arg(named)
            .arg(column.type);
    const QString typeName = QString::fromLatin1(type->name);
    if (type->fixedSize > 0 && (!column.fixed || column.size != type->fixedSize))
        return QStringLiteral("%1の型が壊れています（%2 型なのに%3）。")
            .arg(named, typeName,
                 column.fixed ? QStringLiteral("長さが %1 バイトです").arg(column.size)
                              : QStringLiteral("長さが決まっていません"));
    // A Text may be stored at a fixed length; a Memo or an OLE object never is.
    if ((type->number == MDB_MEMO || type->number == MDB_OLE) && column.fixed)
        return QStringLiteral("%1の型が壊れています（%2 型なのに長さが決まっています）。")
            .arg(named, typeName);
    if (use == ColumnUse::Number && type->use != ColumnUse::Number)
        return QStringLiteral("%1は数の列ですが、%2 型です。").arg(named, typeName);
    if (use == ColumnUse::Text && type->use != ColumnUse::Text)
        return QStringLiteral("%1は文字の列ですが、%2 型です。").arg(named, typeName);
    return {};
}

} // namespace moravelt
