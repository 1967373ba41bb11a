// SPDX-License-Identifier: MIT

#include "worldreader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace moravelt {

namespace {

const QStringList townHeader{QStringLiteral("地名"),     QStringLiteral("読み"),
                             QStringLiteral("都道府県"), QStringLiteral("種別"),
                             QStringLiteral("緯度"),     QStringLiteral("経度")};
const QStringList roadHeader{QStringLiteral("出発地"), QStringLiteral("目的地"),
                             QStringLiteral("km"), QStringLiteral("種別")};
const QStringList hiddenHeader{QStringLiteral("出発"), QStringLiteral("目的地"),
                               QStringLiteral("隠れ"), QStringLiteral("隠れた街までの距離")};
const QStringList eventHeader{QStringLiteral("隠れ"), QStringLiteral("イベント")};
const QStringList quizHeader{QStringLiteral("地名"), QStringLiteral("問題"),
                             QStringLiteral("Ans1"), QStringLiteral("Ans2"),
                             QStringLiteral("Ans3"), QStringLiteral("得点")};

// The tables write a line break as the two characters "\n"; the game shows CR LF.
QString withLineBreaks(QString text)
{
    return text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
}

bool isReading(const QString& text)
{
    static const QRegularExpression hiragana(QStringLiteral("^[\\x{3041}-\\x{3096}ー]+$"));
    return hiragana.match(text).hasMatch();
}

} // namespace

WorldData WorldReader::read(const QString& dataDir)
{
    const QDir dir(dataDir);
    WorldData world;
    readTowns(dir.filePath(QStringLiteral("towns.tsv")), world);
    readRoads(dir.filePath(QStringLiteral("roads.tsv")), world);
    readHiddenLegs(dir.filePath(QStringLiteral("hidden.tsv")), world);
    readEvents(dir.filePath(QStringLiteral("events.tsv")), world);
    const QStringList quizzes = quizFiles(dataDir);
    for (const QString& path : quizzes)
        readQuizzes(path, world);
    // Without any quiz table every town would be reported as having no quiz.
    if (quizzes.isEmpty()) {
        const QString path = dir.filePath(QStringLiteral("quiz.tsv"));
        m_diag.error({path, 1}, QStringLiteral("no quiz table: neither quiz.tsv nor quiz-*.tsv"));
        world.unsoundTables << path;
    }
    world.notes = readNotes(dir.filePath(QStringLiteral("SOURCES.md")));
    return world;
}

WorldNotes WorldReader::readNotes(const QString& path)
{
    WorldNotes notes{path, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return notes;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& line : text.split(QLatin1Char('\n')))
        notes.lines << (line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line);
    return notes;
}

QStringList WorldReader::quizFiles(const QString& dataDir)
{
    const QDir dir(dataDir);
    QStringList files;
    if (dir.exists(QStringLiteral("quiz.tsv")))
        files << dir.filePath(QStringLiteral("quiz.tsv"));
    const QStringList parts =
        dir.entryList({QStringLiteral("quiz-*.tsv")}, QDir::Files, QDir::Name);
    for (const QString& name : parts)
        files << dir.filePath(name);
    return files;
}

const std::vector<TsvRow>& WorldReader::rowsOf(const QString& path, const QStringList& header,
                                               const QList<int>& textColumns, WorldData& world,
                                               TsvReader::Rows rows)
{
    m_table = m_tsv.read(path, header, textColumns, rows);
    if (!m_table.sound)
        world.unsoundTables << path;
    return m_table.rows;
}

void WorldReader::readTowns(const QString& path, WorldData& world)
{
    for (const TsvRow& row : rowsOf(path, townHeader, {}, world, TsvReader::Rows::Required)) {
        WorldTown town;
        town.name = row.fields[0];
        town.reading = row.fields[1];
        town.prefecture = row.fields[2];
        town.at = row.at;
        if (!town.reading.isEmpty() && !isReading(town.reading))
            m_diag.error(
                row.at,
                QStringLiteral("読み must be hiragana and ー only, not \"%1\"").arg(town.reading));
        const QString& kind = row.fields[3];
        if (kind == QStringLiteral("隠"))
            town.hidden = true;
        else if (kind != QStringLiteral("町"))
            m_diag.error(row.at, QStringLiteral("種別 must be 町 or 隠, not \"%1\"").arg(kind));
        const bool latOk = readDegrees(row, 4, 90, town.lat);
        const bool lonOk = readDegrees(row, 5, 180, town.lon);
        town.hasPosition = latOk && lonOk;
        world.towns.push_back(std::move(town));
    }
}

void WorldReader::readRoads(const QString& path, WorldData& world)
{
    for (const TsvRow& row : rowsOf(path, roadHeader, {}, world, TsvReader::Rows::Required)) {
        WorldRoad road;
        road.from = row.fields[0];
        road.to = row.fields[1];
        road.at = row.at;
        // No longer than a route string's five digits show: the game leaves longer roads out.
        readWhole(row, 2, 1, 99999, QStringLiteral("km must be a whole number from 1 to 99999"),
                  road.km);
        const QString& kind = row.fields[3];
        if (kind == QStringLiteral("航"))
            road.ferry = true;
        else if (kind != QStringLiteral("道"))
            m_diag.error(row.at, QStringLiteral("種別 must be 道 or 航, not \"%1\"").arg(kind));
        world.roads.push_back(std::move(road));
    }
}

void WorldReader::readHiddenLegs(const QString& path, WorldData& world)
{
    for (const TsvRow& row : rowsOf(path, hiddenHeader, {}, world)) {
        WorldHiddenLeg leg;
        leg.from = row.fields[0];
        leg.to = row.fields[1];
        leg.hidden = row.fields[2];
        leg.at = row.at;
        readWhole(row, 3, 0, 100000, QStringLiteral("隠れた街までの距離 must be a whole number"),
                  leg.distance);
        world.hiddenLegs.push_back(std::move(leg));
    }
}

void WorldReader::readEvents(const QString& path, WorldData& world)
{
    for (const TsvRow& row : rowsOf(path, eventHeader, {1}, world))
        world.events.push_back({row.fields[0], withLineBreaks(row.fields[1]), row.at});
}

void WorldReader::readQuizzes(const QString& path, WorldData& world)
{
    for (const TsvRow& row : rowsOf(path, quizHeader, {1, 2, 3, 4}, world)) {
        WorldQuiz quiz;
        quiz.town = row.fields[0];
        quiz.question = withLineBreaks(row.fields[1]);
        quiz.answers = {row.fields[2], row.fields[3], row.fields[4]};
        quiz.at = row.at;
        readWhole(row, 5, 10, 50, QStringLiteral("得点 must be a whole number from 10 to 50"),
                  quiz.points);
        world.quizzes.push_back(std::move(quiz));
    }
}

bool WorldReader::readDegrees(const TsvRow& row, int column, double limit, double& out)
{
    bool ok = false;
    const double value = row.fields[column].toDouble(&ok);
    if (!ok || value < -limit || value > limit) {
        m_diag.error(
            row.at,
            QStringLiteral("bad number \"%1\" in %2").arg(row.fields[column], townHeader[column]));
        return false;
    }
    out = value;
    return true;
}

bool WorldReader::readWhole(const TsvRow& row, int column, int min, int max, const QString& what,
                            int& out)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    const QString& text = row.fields[column];
    const int value = digits.match(text).hasMatch() ? text.toInt() : -1;
    if (value < min || value > max) {
        m_diag.error(row.at, QStringLiteral("%1, not \"%2\"").arg(what, text));
        return false;
    }
    out = value;
    return true;
}

} // namespace moravelt
