// SPDX-License-Identifier: MIT

#include "buildcommand.h"
#include "checkcommand.h"
#include "extractcoastcommand.h"
#include "importcommand.h"
#include "navicommand.h"
#include "quizcommand.h"
#include "routecommand.h"

#include <QGuiApplication>
#include <QTextStream>

namespace {

// Each command gets the arguments that follow its name.
struct Command
{
    const char* name;
    int (*run)(const QStringList& args);
    const char* usage;
};

const Command commands[] = {
    {"check", moravelt::runCheckCommand, "check --data DIR [--coast FILE]"},
    {"build", moravelt::runBuildCommand,
     "build --data DIR --out DIR [--scale S] [--coast FILE] [--quality Q]"},
    {"extract-coast", moravelt::runExtractCoastCommand, "extract-coast --topojson FILE --out FILE"},
    {"import", moravelt::runImportCommand, "import --mdb FILE --out DIR [--name FILE]"},
    {"route", moravelt::runRouteCommand,
     "route --db FILE [--level N] [--steps K | --shortest K] DEPARTURE DESTINATION"},
    {"navi", moravelt::runNaviCommand, "navi --db FILE [--answers] ROUTE"},
    {"quiz", moravelt::runQuizCommand, "quiz --db FILE [--seed N] [--answers] ROUTE"},
};

int usage()
{
    QTextStream err(stderr);
    err << "usage:\n";
    for (const Command& command : commands)
        err << "  moravelt-map " << command.usage << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // The picture needs fonts, hence a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    for (const Command& command : commands) {
        if (name == QLatin1String(command.name))
            return command.run(args);
    }
    return usage();
}
