// SPDX-License-Identifier: MIT

#include "windows/recordswindow.h"

#include "quiz/journeytexts.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace moravelt {

namespace {

const QStringList kHeaders{"日時", "ルート", "得点", "正解", "時間"};

QTableView* table(QStandardItemModel* model)
{
    auto* view = new QTableView;
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->verticalHeader()->setVisible(false);
    // Every column as wide as its texts; a long random journey scrolls rather than squeezes.
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->setWordWrap(false);
    return view;
}

void fill(QStandardItemModel& model, const std::vector<ScoreRecord>& records)
{
    model.removeRows(0, model.rowCount());
    for (const ScoreRecord& r : records) {
        QList<QStandardItem*> row;
        for (const QString& text :
             {r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm")), r.route,
              JourneyTexts::score(r.score, r.possible), JourneyTexts::right(r.right, r.questions),
              JourneyTexts::duration(r.seconds)})
            row << new QStandardItem(text);
        row[1]->setToolTip(r.route);
        model.appendRow(row);
    }
}

QLabel* heading(const QString& text)
{
    auto* l = new QLabel(text);
    QFont font = l->font();
    font.setBold(true);
    l->setFont(font);
    return l;
}

} // namespace

RecordsWindow::RecordsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_best(new QStandardItemModel(0, 5, this)),
      m_latest(new QStandardItemModel(0, 5, this)), m_bestView(table(m_best)),
      m_latestView(table(m_latest)), m_note(new QLabel)
{
    setObjectName(QStringLiteral("RecordsWindow"));
    setWindowTitle(QStringLiteral("モラベルト 記録"));
    m_best->setHorizontalHeaderLabels(kHeaders);
    m_latest->setHorizontalHeaderLabels(kHeaders);
    m_note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading(QStringLiteral("最高記録")));
    layout->addWidget(m_bestView);
    layout->addWidget(heading(QStringLiteral("最近の旅")));
    layout->addWidget(m_latestView);
    layout->addWidget(m_note);
    resize(720, 560);
}

void RecordsWindow::showRecords(const std::vector<ScoreRecord>& best,
                                const std::vector<ScoreRecord>& latest)
{
    fill(*m_best, best);
    fill(*m_latest, latest);
    m_note->setText(best.empty()
                        ? QStringLiteral("まだ記録がありません。「旅クイズ」で旅に出ましょう。")
                        : QString());
}

void RecordsWindow::showUnavailable(const QString& why)
{
    fill(*m_best, {});
    fill(*m_latest, {});
    m_note->setText(why);
}

} // namespace moravelt
