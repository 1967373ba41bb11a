// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/scorerecord.h"

#include <QWidget>
#include <vector>

class QLabel;
class QStandardItemModel;
class QTableView;

namespace moravelt {

// "記録": the best journeys and the latest ones, each in a table of date, route, score, right
// answers and time. Beside the three windows, and holding none of them up.
class RecordsWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kRows = 10;

    explicit RecordsWindow(QWidget* parent = nullptr);

    void showRecords(const std::vector<ScoreRecord>& best, const std::vector<ScoreRecord>& latest);
    // Without records: the tables empty and the reason in their place.
    void showUnavailable(const QString& why);

    QTableView* bestTable() const { return m_bestView; }
    QTableView* latestTable() const { return m_latestView; }
    QLabel* noteLabel() const { return m_note; }

private:
    QStandardItemModel* m_best;
    QStandardItemModel* m_latest;
    QTableView* m_bestView;
    QTableView* m_latestView;
    QLabel* m_note;
};

} // namespace moravelt
