// SPDX-License-Identifier: MIT

#include "mapdb/jetfile.h"

#include "base/moravelterror.h"
#include "mapdb/mapschemacheck.h"

#include <QFile>
#include <QtEndian>
#include <cstdio>
#include <locale.h>
#include <unistd.h>
#include <vector>

// libmdb's header needs glib's types declared first.
#include <glib.h>

#include <mdbtools.h>

namespace moravelt {

namespace {

// Enough for any Text value (255 characters) and for a Memo of a few tens of thousands of
// Japanese characters in UTF-8; libmdb cuts a longer Memo at this size.
constexpr std::size_t kBindSize = std::size_t(256) * 1024;
static_assert(kBindSize >= MDB_BIND_SIZE);

// libmdb formats dates and numbers through the C locale of the calling thread; the player's
// locale must not change what is read (a decimal comma), so this thread reads in C.UTF-8.
class Utf8Locale
{
public:
    Utf8Locale() : m_locale(newlocale(LC_ALL_MASK, "C.UTF-8", locale_t(nullptr)))
    {
        if (m_locale)
            m_previous = uselocale(m_locale);
    }
    ~Utf8Locale()
    {
        if (m_locale) {
            uselocale(m_previous);
            freelocale(m_locale);
        }
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

private:
    locale_t m_locale;
    locale_t m_previous = locale_t(nullptr);
};

// libmdb reports what went wrong only on the standard error stream. While it works, that
// stream goes to an unnamed temporary file, so a failure can say what libmdb found and a
// damaged file does not spill warnings into the player's terminal.
class LibraryMessages
{
public:
    LibraryMessages()
    {
        std::fflush(stderr);
        m_file = std::tmpfile();
        if (m_file)
            m_saved = ::dup(STDERR_FILENO);
        if (m_saved >= 0 && ::dup2(::fileno(m_file), STDERR_FILENO) < 0)
            restore();
    }
    ~LibraryMessages()
    {
        restore();
        if (m_file)
            std::fclose(m_file);
    }
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;

    // The first lines libmdb wrote, joined; the stream is given back first.
    QString text()
    {
        restore();
        if (!m_file)
            return {};
        std::rewind(m_file);
        char buffer[2048];
        const std::size_t size = std::fread(buffer, 1, sizeof buffer, m_file);
        QStringList lines = QString::fromUtf8(buffer, qsizetype(size))
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                .mid(0, 3);
        return lines.join(QStringLiteral(" / "));
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    std::FILE* m_file = nullptr;
    int m_saved = -1;
};

struct TableDef
{
    explicit TableDef(MdbTableDef* table) : def(table) {}
    ~TableDef()
    {
        if (def)
            mdb_free_tabledef(def);
    }
    TableDef(const TableDef&) = delete;
    TableDef& operator=(const TableDef&) = delete;
    MdbTableDef* def;
};

MdbColumn* columnAt(MdbTableDef* table, unsigned int index)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

// A fixed-size value straight from the row's bytes; libmdb's text form of a number would
// round it and follow the locale.
QVariant fixedValue(int type, const MdbField& field, bool& ok)
{
    const auto* bytes = static_cast<const uchar*>(field.value);
    const auto sized = [&](int size) { return (ok = field.siz == size); };
    switch (type) {
    case MDB_BYTE:
        return sized(1) ? QVariant(qint64(bytes[0])) : QVariant();
    case MDB_INT:
        return sized(2) ? QVariant(qint64(qFromLittleEndian<qint16>(bytes))) : QVariant();
    case MDB_LONGINT:
        return sized(4) ? QVariant(qint64(qFromLittleEndian<qint32>(bytes))) : QVariant();
    case MDB_FLOAT:
        return sized(4) ? QVariant(double(qFromLittleEndian<float>(bytes))) : QVariant();
    case MDB_DOUBLE:
        return sized(8) ? QVariant(qFromLittleEndian<double>(bytes)) : QVariant();
    case MDB_MONEY:
        // Currency is a count of ten-thousandths.
        return sized(8) ? QVariant(double(qFromLittleEndian<qint64>(bytes)) / 10000.0) : QVariant();
    default:
        ok = false;
        return {};
    }
}

bool isFixedNumber(int type)
{
    return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT || type == MDB_FLOAT ||
           type == MDB_DOUBLE || type == MDB_MONEY;
}

} // namespace

struct JetFile::Handle
{
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
    MdbHandle* mdb = nullptr;
};

namespace {

[[noreturn]] void fail(const QString& path, const QString& what, LibraryMessages& messages)
{
    QString text = QStringLiteral("%1を読めません: %2").arg(mapFileNamed(path), what);
    const QString reported = messages.text();
    if (!reported.isEmpty())
        text += QStringLiteral("\nlibmdb の報告: %1").arg(reported);
    throw MoraveltError(text);
}

} // namespace

JetFile::JetFile(const QString& path) : m_handle(std::make_unique<Handle>()), m_path(path)
{
    // The text conversion must give UTF-8 whatever the environment asks for.
    qunsetenv("MDB_ICONV");
    const Utf8Locale locale;
    LibraryMessages messages;
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        fail(path,
             QStringLiteral(
                 "先頭のページが読めません。壊れているか、Jet 3/4 の形式ではありません。"),
             messages);
    mdb_set_bind_size(m_handle->mdb, kBindSize);
    mdb_set_date_fmt(m_handle->mdb, "%Y-%m-%d %H:%M:%S");
    if (!mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        fail(path,
             QStringLiteral("表の一覧（カタログ）が読めません。壊れているか、暗号化されています。"),
             messages);
    for (unsigned int i = 0; i < m_handle->mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_handle->mdb->catalog, i));
        if (mdb_is_user_table(entry))
            m_tables << QString::fromUtf8(entry->object_name);
    }
}

JetFile::~JetFile() = default;

std::optional<QStringList> JetFile::columnNames(const QString& table) const
{
    const Utf8Locale locale;
    LibraryMessages messages;
    QByteArray name = table.toUtf8();
    const TableDef def(mdb_read_table_by_name(m_handle->mdb, name.data(), MDB_TABLE));
    if (!def.def) {
        if (!m_tables.contains(table, Qt::CaseInsensitive))
            return std::nullopt;
        fail(m_path, QStringLiteral("表「%1」の定義が読めません。").arg(table), messages);
    }
    if (!mdb_read_columns(def.def))
        fail(m_path, QStringLiteral("表「%1」の列が読めません。").arg(table), messages);
    QStringList columns;
    for (unsigned int c = 0; c < def.def->num_cols; ++c)
        columns << QString::fromUtf8(columnAt(def.def, c)->name);
    return columns;
}

void JetFile::readRows(const QString& table, const RowRead& rowRead) const
{
    const Utf8Locale locale;
    LibraryMessages messages;
    MdbHandle* mdb = m_handle->mdb;
    QByteArray name = table.toUtf8();
    const TableDef def(mdb_read_table_by_name(mdb, name.data(), MDB_TABLE));
    if (!def.def || !mdb_read_columns(def.def))
        fail(m_path, QStringLiteral("表「%1」の定義が読めません。").arg(table), messages);
    MdbTableDef* t = def.def;
    const unsigned int columnCount = t->num_cols;
    std::vector<std::vector<char>> buffers(columnCount, std::vector<char>(kBindSize));
    std::vector<int> lengths(columnCount, 0);
    for (unsigned int c = 0; c < columnCount; ++c) {
        if (mdb_bind_column(t, int(c) + 1, buffers[c].data(), &lengths[c]) == -1)
            fail(m_path, QStringLiteral("表「%1」の列が読めません。").arg(table), messages);
    }
    mdb_rewind_table(t);
    std::vector<MdbField> fields(MDB_MAX_COLS);
    unsigned int rows = 0;
    QVariantList values;
    while (mdb_fetch_row(t)) {
        // The bound text of a NULL and of an empty text are alike; the row's null mask tells
        // them apart, so the row just fetched is taken apart once more.
        int start = 0;
        std::size_t size = 0;
        if (mdb_find_row(mdb, int(t->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(t, start & 0x1fff, size, fields.data()) < int(columnCount))
            fail(m_path,
                 QStringLiteral("表「%1」の %2 行目が壊れています。").arg(table).arg(rows + 1),
                 messages);
        values.fill(QVariant(), columnCount);
        for (unsigned int i = 0; i < columnCount; ++i) {
            const MdbField& field = fields[i];
            const unsigned int c = unsigned(field.colnum);
            if (c >= columnCount)
                continue;
            const int type = columnAt(t, c)->col_type;
            if (type == MDB_BOOL) {
                // A Yes/No value lives in the null mask itself; Yes is -1.
                values[c] = qint64(field.is_null ? 0 : -1);
            } else if (field.is_null) {
                values[c] = QVariant();
            } else if (isFixedNumber(type)) {
                bool ok = false;
                values[c] = fixedValue(type, field, ok);
                if (!ok)
                    fail(m_path,
                         QStringLiteral("表「%1」の %2 行目の列「%3」が壊れています。")
                             .arg(table)
                             .arg(rows + 1)
                             .arg(QString::fromUtf8(columnAt(t, c)->name)),
                         messages);
            } else {
                values[c] = QString::fromUtf8(buffers[c].data(), lengths[c]);
            }
        }
        rowRead(values);
        ++rows;
    }
    if (rows != t->num_rows)
        fail(m_path,
             QStringLiteral("表「%1」の行が %2 行のうち %3 行しか読めません。")
                 .arg(table)
                 .arg(t->num_rows)
                 .arg(rows),
             messages);
}

} // namespace moravelt
