// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace moravelt::test {

// What one run of the map tool gave; exitCode stays -1 when it did not finish in a minute.
struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The test's target defines MORAVELT_MAP_TOOL as the built tool's path.
inline ToolRun
runTool(const QStringList& args,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QStringLiteral(MORAVELT_MAP_TOOL), args);
    ToolRun run;
    if (!tool.waitForFinished(60000))
        return run;
    run.exitCode = tool.exitCode();
    run.out = tool.readAllStandardOutput();
    run.err = tool.readAllStandardError();
    return run;
}

} // namespace moravelt::test
