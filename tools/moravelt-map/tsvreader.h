// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"

#include <QStringList>
#include <vector>

namespace moravelt {

struct TsvRow
{
    SourceRef at;
    QStringList fields;
};

// A table as read: its rows, and whether the file itself could be understood. A table with a
// fault of structure (missing, empty, not UTF-8, wrong line endings or header) has no rows.
struct TsvTable
{
    std::vector<TsvRow> rows;
    bool sound = true;
};

// Reads one tab-separated table of the sample world: a header line, then one row a line;
// "#" lines and empty lines are comments. Faults of form are reported, not thrown.
class TsvReader
{
public:
    explicit TsvReader(Diagnostics& diag) : m_diag(diag) {}

    enum class Rows
    {
        Optional,
        Required
    };

    // A fault of the file's structure is reported once and its rows are skipped, so it does
    // not turn into a fault on every line. Rows with the wrong number of columns are reported
    // and left out. A forbidden character or a stray space is reported but the row is kept,
    // so later checks still see the name. Columns listed in textColumns are free texts and
    // may hold "-" and "+".
    TsvTable read(const QString& path, const QStringList& header, const QList<int>& textColumns,
                  Rows rows = Rows::Optional);

private:
    // The file's text, or a null string after reporting why it cannot be read as a table.
    QString readText(const QString& path, const QStringList& header);
    void checkFields(const TsvRow& row, const QStringList& header, const QList<int>& textColumns);

    Diagnostics& m_diag;
};

} // namespace moravelt
