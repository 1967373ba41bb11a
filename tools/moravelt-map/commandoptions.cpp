// SPDX-License-Identifier: MIT

#include "commandoptions.h"

namespace moravelt {

CommandOptions::CommandOptions(const QStringList& args, const QStringList& known)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const QString name = arg.startsWith(QStringLiteral("--")) ? arg.mid(2) : QString();
        if (!known.contains(name)) {
            m_error = QStringLiteral("unknown argument \"%1\"").arg(arg);
            return;
        }
        if (i + 1 >= args.size()) {
            m_error = QStringLiteral("%1 needs a value").arg(arg);
            return;
        }
        m_values.insert(name, args[++i]);
    }
}

bool CommandOptions::require(const QStringList& names)
{
    for (const QString& name : names) {
        if (ok() && !m_values.contains(name))
            m_error = QStringLiteral("--%1 is missing").arg(name);
    }
    return ok();
}

} // namespace moravelt
