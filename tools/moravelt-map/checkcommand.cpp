#include "checkcommand.h"

#include "commandoptions.h"
#include "worldcheck.h"

#include <QTextStream>

namespace moravelt {

int runCheckCommand(const QStringList& args)
{
    QTextStream err(stderr);
    CommandOptions options(args, {QStringLiteral("data")});
    if (!options.require({QStringLiteral("data")})) {
        err << "check: " << options.error() << "\nusage: moravelt-map check --data DIR\n";
        return 2;
    }
    const MapLayout layout;
    const WorldCheck check = WorldCheck::run(options.value(QStringLiteral("data")), layout);
    for (const QString& line : check.diag.lines())
        err << line << '\n';
    if (check.diag.hasErrors()) {
        err << "check: " << check.diag.count() << " faults\n";
        return 1;
    }
    QTextStream(stdout) << "check: ok, " << check.summary() << '\n';
    return 0;
}

} // namespace moravelt
