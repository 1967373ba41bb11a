// SPDX-License-Identifier: MIT

#include "quizcommand.h"

#include "base/moravelterror.h"
#include "mapconnection.h"
#include "mapdb/mapdatabase.h"
#include "navi/routestring.h"
#include "quiz/journeyplanner.h"

#include <QCommandLineParser>
#include <QRandomGenerator>
#include <QTextStream>
#include <cstdio>

namespace moravelt {

namespace {

const char* const kUsage =
    "usage: moravelt-map quiz --db FILE [--seed N] [--answers] ROUTE\n"
    "  ROUTE      a route string as the route search lists it, e.g. 00045-京都-奈良,\n"
    "             or ランダム for ten towns drawn from those with a quiz\n"
    "  --seed N   the journey's seed, 0 to 4294967295; a random one when left out\n"
    "  --answers  the correct answer marked with \"*\"\n"
    "Each card is a line of tab-separated fields:\n"
    "  TOWN QUESTION ANSWER1 ANSWER2 ANSWER3 POINTS   a quiz, answers in the journey's order\n"
    "  寄り道 HIDDEN-TOWN EVENT                        a hidden town met on the leg before\n"
    "  TOWN (WHY)                                     a town whose quiz is not asked\n";

QString cardLine(const JourneyStop& stop, bool answers)
{
    const QChar tab(u'\t');
    switch (stop.kind) {
    case JourneyStop::Kind::Quiz: {
        QStringList fields{stop.town, stop.question};
        for (std::size_t i = 0; i < stop.answers.size(); ++i)
            fields << (answers && int(i) == stop.correct ? QStringLiteral("*") : QString()) +
                          stop.answers[i];
        fields << QString::number(stop.points);
        return fields.join(tab);
    }
    case JourneyStop::Kind::Detour:
        return QStringList{QStringLiteral("寄り道"), stop.town, stop.text}.join(tab);
    case JourneyStop::Kind::Skipped:
        break;
    }
    return stop.town + tab + QLatin1Char('(') + stop.text + QLatin1Char(')');
}

} // namespace

int runQuizCommand(const QStringList& args)
{
    QTextStream err(stderr);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("db"), QString(), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("seed"), QString(), QStringLiteral("N")});
    parser.addOption({QStringLiteral("answers"), QString()});
    if (!parser.parse(QStringList{QStringLiteral("moravelt-map quiz")} + args) ||
        !parser.isSet(QStringLiteral("db")) || parser.positionalArguments().size() != 1) {
        err << "quiz: "
            << (parser.errorText().isEmpty() ? QStringLiteral("bad arguments") : parser.errorText())
            << '\n'
            << kUsage;
        return 2;
    }
    quint32 seed = QRandomGenerator::global()->generate();
    if (parser.isSet(QStringLiteral("seed"))) {
        bool ok = false;
        seed = parser.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok) {
            err << "quiz: --seed takes a whole number from 0 to 4294967295\n" << kUsage;
            return 2;
        }
    }
    const QString route = parser.positionalArguments().first();
    const bool random = route == JourneyPlanner::kRandomName;
    if (!random && !RouteString::isWellFormed(route)) {
        err << "quiz: malformed route string \"" << route
            << "\": expected digits, then \"-\" and each town, or " << JourneyPlanner::kRandomName
            << '\n';
        return 1;
    }
    try {
        const MapDatabase cn(mapConnectionString(parser.value(QStringLiteral("db"))));
        const JourneyPlanner planner(cn);
        const JourneyPlan plan = random ? planner.random(seed) : planner.along(route, seed);
        QString text = QStringLiteral("seed %1\n").arg(seed);
        for (const JourneyStop& stop : plan.stops)
            text += cardLine(stop, parser.isSet(QStringLiteral("answers"))) + QLatin1Char('\n');
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
        std::fflush(stdout);
        return 0;
    } catch (const MoraveltError& e) {
        err << "quiz: " << e.message() << '\n';
        return 1;
    }
}

} // namespace moravelt
