// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/scorerecord.h"

#include <QString>
#include <optional>
#include <vector>

namespace moravelt {

struct SqlText;

// The player's records of finished journeys: an SQLite file, "scores.sqlite", under the XDG
// data folder. Each journey is written in one transaction, so a game killed while writing
// loses at most that journey (SQLite rolls the unfinished one back when the file is next
// opened). A file that is marked read-only, damaged, not SQLite, someone else's database or
// locked is refused when it is opened, with one message, and is never written.
class ScoreStore
{
public:
    // $XDG_DATA_HOME/moravelt/scores.sqlite, else ~/.local/share/moravelt/scores.sqlite.
    static QString defaultPath();

    // Opens the records, creating the file and its folder when they do not exist yet. Throws
    // MoraveltError with the player's message when the file cannot be used.
    explicit ScoreStore(const QString& path = defaultPath());
    ~ScoreStore();
    ScoreStore(const ScoreStore&) = delete;
    ScoreStore& operator=(const ScoreStore&) = delete;

    const QString& path() const { return m_path; }

    // Writes one record in a transaction of its own; throws MoraveltError when it failed, and
    // the file then holds what it held before.
    void add(const ScoreRecord& record);
    // The highest score recorded for the route, if any.
    std::optional<int> bestOf(const QString& route) const;
    std::vector<ScoreRecord> best(int limit) const;
    std::vector<ScoreRecord> latest(int limit) const;

private:
    void open();
    void checkFile() const;
    void checkSchema();
    std::vector<ScoreRecord> records(const SqlText& sql) const;
    [[noreturn]] void fail(const QString& why) const;

    QString m_path;
    QString m_connectionName;
};

} // namespace moravelt
