// SPDX-License-Identifier: MIT

#include "jetfile.h"

#include "base/moravelterror.h"
#include "jetcolumncheck.h"
#include "mapdb/mapschemacheck.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <locale.h>
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

struct JetFile::TableDef
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

void JetFile::fail(const QString& what) const
{
    throw MoraveltError(QStringLiteral("%1は壊れているか、対応していない Jet ファイルです: %2")
                            .arg(mapFileNamed(m_path), what));
}

JetFile::JetFile(const QString& path) : m_handle(std::make_unique<Handle>()), m_path(path)
{
    // The text conversion must give UTF-8 whatever the environment asks for.
    qunsetenv("MDB_ICONV");
    const Utf8Locale locale;
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        fail(QStringLiteral("先頭のページが読めません（Jet 3/4 の形式ではありません）。"));
    mdb_set_date_fmt(m_handle->mdb, "%Y-%m-%d %H:%M:%S");
    // libmdb reads the catalog into buffers of its default bind size, so the larger size
    // for the map's own texts is set only afterwards.
    readCatalog();
    mdb_set_bind_size(m_handle->mdb, kBindSize);
}

JetFile::~JetFile() = default;

void JetFile::readCatalog()
{
    MdbHandle* mdb = m_handle->mdb;
    // The catalog is the table MSysObjects, defined on page 2: how many rows it says it has.
    MdbCatalogEntry objects;
    std::memset(&objects, 0, sizeof objects);
    objects.mdb = mdb;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::strcpy(objects.object_name, "MSysObjects");
    unsigned int declaredRows = 0;
    {
        const TableDef def(mdb_read_table(&objects));
        if (!def.def)
            fail(QStringLiteral("表の一覧（カタログ）の定義が読めません。"));
        if (def.def->num_cols > MDB_MAX_COLS)
            fail(QStringLiteral("表の一覧（カタログ）の列の数（%1）が壊れています。")
                     .arg(def.def->num_cols));
        declaredRows = def.def->num_rows;
    }
    if (!mdb_read_catalog(mdb, MDB_ANY))
        fail(QStringLiteral("表の一覧（カタログ）が読めません。暗号化されているかもしれません。"));
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        Entry row{QString::fromUtf8(entry->object_name), entry->object_type, entry->flags, i,
                  mdb_is_user_table(entry) != 0};
        if (row.userTable)
            m_tables << row.name;
        if (!soundName(row.name) && m_catalogFault.isEmpty())
            m_catalogFault =
                QStringLiteral("表の一覧（カタログ）の %1 行目の名前が壊れています。").arg(i + 1);
        m_catalog.push_back(row);
    }
    // A file closed in the middle of a write may say 0 rows (libmdb reads on regardless).
    if (declaredRows != 0 && declaredRows != mdb->num_catalog && m_catalogFault.isEmpty())
        m_catalogFault = QStringLiteral("表の一覧（カタログ）の %1 行のうち %2 行しか読めません。")
                             .arg(declaredRows)
                             .arg(mdb->num_catalog);
}

const JetFile::Entry* JetFile::userTable(const QString& table) const
{
    const auto named = [&table](const Entry& entry) {
        return entry.name.compare(table, Qt::CaseInsensitive) == 0;
    };
    // A user table first; a table flagged as the system's is read as well, as it always was.
    for (bool flaggedToo : {false, true}) {
        for (const Entry& entry : m_catalog) {
            if (named(entry) && (entry.userTable || (flaggedToo && entry.type == MDB_TABLE)))
                return &entry;
        }
    }
    for (const Entry& entry : m_catalog) {
        if (!named(entry))
            continue;
        if (entry.type == MDB_LINKED_TABLE)
            throw MoraveltError(
                QStringLiteral(
                    "%1の表「%2」は別のファイルへのリンクで、この地図には入っていません。")
                    .arg(mapFileNamed(m_path), table));
        fail(
            QStringLiteral("表の一覧（カタログ）の表「%1」の行が壊れています（種類 %2、印 0x%3）。")
                .arg(table)
                .arg(entry.type)
                .arg(uint(entry.flags), 8, 16, QLatin1Char('0')));
    }
    if (!m_catalogFault.isEmpty())
        fail(m_catalogFault + QStringLiteral("表「%1」が見つかりません。").arg(table));
    return nullptr;
}

std::unique_ptr<JetFile::TableDef> JetFile::readDefinition(const Entry& entry) const
{
    auto* catalogEntry =
        static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_handle->mdb->catalog, entry.index));
    auto def = std::make_unique<TableDef>(mdb_read_table(catalogEntry));
    if (!def->def)
        fail(QStringLiteral("表「%1」の定義が読めません。").arg(entry.name));
    // libmdb takes a row apart into at most this many fields and writes past them otherwise,
    // so a wider table is refused before any of its rows is read.
    if (def->def->num_cols > MDB_MAX_COLS)
        fail(QStringLiteral("表「%1」の列が %2 個あります（読めるのは %3 個までです）。")
                 .arg(entry.name)
                 .arg(def->def->num_cols)
                 .arg(MDB_MAX_COLS));
    if (!mdb_read_columns(def->def))
        fail(QStringLiteral("表「%1」の列が読めません。").arg(entry.name));
    return def;
}

std::optional<std::vector<JetFile::Column>> JetFile::columns(const QString& table) const
{
    const Utf8Locale locale;
    const Entry* entry = userTable(table);
    if (!entry)
        return std::nullopt;
    const std::unique_ptr<TableDef> def = readDefinition(*entry);
    std::vector<Column> columns;
    for (unsigned int c = 0; c < def->def->num_cols; ++c) {
        const MdbColumn* column = columnAt(def->def, c);
        columns.push_back({QString::fromUtf8(column->name), column->col_type, column->is_fixed != 0,
                           column->col_size});
        // A damaged count of columns or of name lengths reads names from the wrong bytes.
        if (!soundName(columns.back().name))
            fail(QStringLiteral("表「%1」の定義が壊れています（%2 番目の列の名前が読めません）。")
                     .arg(entry->name)
                     .arg(c + 1));
    }
    return columns;
}

std::optional<QStringList> JetFile::columnNames(const QString& table) const
{
    const std::optional<std::vector<Column>> all = columns(table);
    if (!all)
        return std::nullopt;
    QStringList names;
    for (const Column& column : *all)
        names << column.name;
    return names;
}

void JetFile::readRows(const QString& table, const RowRead& rowRead) const
{
    const Utf8Locale locale;
    MdbHandle* mdb = m_handle->mdb;
    const Entry* entry = userTable(table);
    if (!entry)
        fail(QStringLiteral("表「%1」がありません。").arg(table));
    const std::unique_ptr<TableDef> def = readDefinition(*entry);
    MdbTableDef* t = def->def;
    const unsigned int columnCount = t->num_cols;
    std::vector<std::vector<char>> buffers(columnCount, std::vector<char>(kBindSize));
    std::vector<int> lengths(columnCount, 0);
    for (unsigned int c = 0; c < columnCount; ++c) {
        if (mdb_bind_column(t, int(c) + 1, buffers[c].data(), &lengths[c]) == -1)
            fail(QStringLiteral("表「%1」の列が読めません。").arg(table));
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
            fail(QStringLiteral("表「%1」の %2 行目が壊れています。").arg(table).arg(rows + 1));
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
                    fail(QStringLiteral("表「%1」の %2 行目の列「%3」が壊れています。")
                             .arg(table)
                             .arg(rows + 1)
                             .arg(QString::fromUtf8(columnAt(t, c)->name)));
            } else {
                values[c] = QString::fromUtf8(buffers[c].data(), lengths[c]);
            }
        }
        rowRead(values);
        ++rows;
    }
    if (rows != t->num_rows)
        fail(QStringLiteral("表「%1」の行が %2 行のうち %3 行しか読めません。")
                 .arg(table)
                 .arg(t->num_rows)
                 .arg(rows));
}

} // namespace moravelt
