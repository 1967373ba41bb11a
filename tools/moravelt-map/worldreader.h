// SPDX-License-Identifier: MIT

#pragma once

#include "diagnostics.h"
#include "tsvreader.h"
#include "worlddata.h"

namespace moravelt {

// Reads the sample world's tables from a data folder. Rows that cannot be understood are
// reported; a row with one unreadable number is kept with that value marked unknown, so
// that one fault does not turn into many.
class WorldReader
{
public:
    explicit WorldReader(Diagnostics& diag) : m_diag(diag), m_tsv(diag) {}

    WorldData read(const QString& dataDir);

    // "quiz.tsv" when present, then every "quiz-*.tsv" by name; all are merged.
    static QStringList quizFiles(const QString& dataDir);

private:
    // The rows of one table, noting in world when the table could not be read at all.
    const std::vector<TsvRow>& rowsOf(const QString& path, const QStringList& header,
                                      const QList<int>& textColumns, WorldData& world,
                                      TsvReader::Rows rows = TsvReader::Rows::Optional);
    void readTowns(const QString& path, WorldData& world);
    void readRoads(const QString& path, WorldData& world);
    void readHiddenLegs(const QString& path, WorldData& world);
    void readEvents(const QString& path, WorldData& world);
    void readQuizzes(const QString& path, WorldData& world);
    static WorldNotes readNotes(const QString& path);

    bool readDegrees(const TsvRow& row, int column, double limit, double& out);
    // A whole number from min to max, written in plain digits.
    bool readWhole(const TsvRow& row, int column, int min, int max, const QString& what, int& out);

    Diagnostics& m_diag;
    TsvReader m_tsv;
    TsvTable m_table;
};

} // namespace moravelt
