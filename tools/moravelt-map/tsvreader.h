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

// Reads one tab-separated table of the sample world: a header line, then one row a line;
// "#" lines and empty lines are comments. Faults of form are reported, not thrown.
class TsvReader
{
public:
    explicit TsvReader(Diagnostics& diag) : m_diag(diag) {}

    // Rows with the wrong number of columns are reported and left out. A forbidden character
    // or a stray space is reported but the row is kept, so later checks still see the name.
    // Columns listed in textColumns are free texts and may hold "-" and "+".
    std::vector<TsvRow> read(const QString& path, const QStringList& header,
                             const QList<int>& textColumns);

private:
    void checkFields(const TsvRow& row, const QStringList& header, const QList<int>& textColumns);

    Diagnostics& m_diag;
};

} // namespace moravelt
