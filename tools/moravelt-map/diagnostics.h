// SPDX-License-Identifier: MIT

#pragma once

#include "sourceref.h"

#include <QStringList>
#include <vector>

namespace moravelt {

// Every fault found in the sample world, so that one run reports them all.
class Diagnostics
{
public:
    void error(const SourceRef& at, const QString& message);

    bool hasErrors() const { return !m_entries.empty(); }
    int count() const { return int(m_entries.size()); }
    // "FILE:LINE: message", ordered by file and line.
    QStringList lines() const;

private:
    struct Entry
    {
        SourceRef at;
        QString message;
    };
    std::vector<Entry> m_entries;
};

} // namespace moravelt
