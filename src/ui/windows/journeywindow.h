// SPDX-License-Identifier: MIT

#pragma once

#include "quiz/journey.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <optional>

class QLabel;
class QPushButton;

namespace moravelt {

// 旅クイズ's window, beside the three windows and not one of them: one card at a time (a
// town's quiz, a 寄り道 on the way, a skipped town), then the end card. It does not hold the
// other windows up, so the map can still be dragged. Keys: 1, 2 and 3 answer, Enter goes on
// (as "次へ" does), Esc leaves. The journey itself is the core's; this shows it and passes the
// player's answers on.
class JourneyWindow : public QWidget
{
    Q_OBJECT
public:
    explicit JourneyWindow(QWidget* parent = nullptr);

    // Shows the journey's first card; the clock starts now.
    void start(Journey journey);
    const std::optional<Journey>& journey() const { return m_journey; }
    bool isPlaying() const { return m_journey && !m_journey->isFinished(); }
    // What the records made of the finished journey, shown on the end card.
    void setRecordNote(const QString& text);

    void choose(int index);
    void goOn();

    QPushButton* answerButton(int index) const { return m_answers.at(std::size_t(index)); }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* leaveButton() const { return m_leave; }
    QLabel* titleLabel() const { return m_title; }
    QLabel* textLabel() const { return m_text; }
    QLabel* verdictLabel() const { return m_verdict; }
    QLabel* scoreLabel() const { return m_score; }

signals:
    // The card that is up names this town (or hidden town).
    void stopShown(const QString& town);
    // The last card was passed: the journey as the records keep it.
    void finished(const moravelt::ScoreRecord& record);
    // The window went, the journey finished or left.
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showCard();
    void showEnd(int seconds);
    void showAnswers(bool shown);

    std::optional<Journey> m_journey;
    QElapsedTimer m_clock;
    QLabel* m_title;
    QLabel* m_score;
    QLabel* m_progress;
    QLabel* m_text;
    std::array<QPushButton*, 3> m_answers{};
    QLabel* m_verdict;
    QLabel* m_note;
    QPushButton* m_leave;
    QPushButton* m_next;
};

} // namespace moravelt
