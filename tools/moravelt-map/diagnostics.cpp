// SPDX-License-Identifier: MIT

#include "diagnostics.h"

#include <algorithm>

namespace moravelt {

void Diagnostics::error(const SourceRef& at, const QString& message)
{
    m_entries.push_back({at, message});
}

QStringList Diagnostics::lines() const
{
    std::vector<Entry> sorted = m_entries;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Entry& a, const Entry& b) {
        if (a.at.file != b.at.file)
            return a.at.file < b.at.file;
        return a.at.line < b.at.line;
    });
    QStringList result;
    for (const Entry& e : sorted)
        result << QStringLiteral("%1:%2: %3").arg(e.at.file, QString::number(e.at.line), e.message);
    return result;
}

} // namespace moravelt
