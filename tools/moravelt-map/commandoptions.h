// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QStringList>

namespace moravelt {

// "--name value" options of one command. Unknown names, missing values and missing required
// options are reported as a usage text.
class CommandOptions
{
public:
    CommandOptions(const QStringList& args, const QStringList& known);

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }
    QString value(const QString& name, const QString& fallback = {}) const
    {
        return m_values.value(name, fallback);
    }
    // Marks the options a command cannot do without; returns ok().
    bool require(const QStringList& names);

private:
    QHash<QString, QString> m_values;
    QString m_error;
};

} // namespace moravelt
