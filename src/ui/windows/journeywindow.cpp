// SPDX-License-Identifier: MIT

#include "windows/journeywindow.h"

#include "quiz/journeytexts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace moravelt {

namespace {

const QString kRightStyle = QStringLiteral("background: #bfe8c4; font-weight: bold;");
const QString kWrongStyle = QStringLiteral("background: #f4c2c2;");

QLabel* label(int pointSize, bool bold = false)
{
    auto* l = new QLabel;
    QFont font = l->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    l->setFont(font);
    l->setWordWrap(true);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

} // namespace

JourneyWindow::JourneyWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_title(label(15, true)), m_score(label(11, true)),
      m_progress(label(9)), m_text(label(12)), m_verdict(label(12, true)), m_note(label(10)),
      m_leave(new QPushButton(QStringLiteral("やめる"))),
      m_next(new QPushButton(QStringLiteral("次へ")))
{
    setObjectName(QStringLiteral("JourneyWindow"));
    setWindowTitle(QStringLiteral("モラベルト 旅クイズ"));
    // The keys come here, whichever button the mouse pressed last.
    setFocusPolicy(Qt::StrongFocus);
    m_score->setWordWrap(false);
    m_score->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_progress->setStyleSheet(QStringLiteral("color: #666;"));
    m_text->setMinimumHeight(m_text->fontMetrics().lineSpacing() * 3);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_score);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_progress);
    layout->addWidget(m_text);
    for (std::size_t i = 0; i < m_answers.size(); ++i) {
        auto* button = new QPushButton;
        button->setFocusPolicy(Qt::NoFocus);
        QFont font = button->font();
        font.setPointSize(12);
        button->setFont(font);
        button->setMinimumHeight(button->sizeHint().height() + 8);
        connect(button, &QPushButton::clicked, this, [this, i] { choose(int(i)); });
        layout->addWidget(button);
        m_answers[i] = button;
    }
    layout->addWidget(m_verdict);
    layout->addWidget(m_note);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_leave, m_next}) {
        button->setFocusPolicy(Qt::NoFocus);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_next, &QPushButton::clicked, this, &JourneyWindow::goOn);
    connect(m_leave, &QPushButton::clicked, this, &QWidget::close);
    resize(480, 380);
}

void JourneyWindow::start(Journey journey)
{
    m_journey = std::move(journey);
    m_clock.start();
    m_leave->setText(QStringLiteral("やめる"));
    showCard();
}

void JourneyWindow::showAnswers(bool shown)
{
    for (QPushButton* button : m_answers) {
        button->setVisible(shown);
        button->setStyleSheet(QString());
    }
}

void JourneyWindow::showCard()
{
    if (!m_journey)
        return;
    const Journey& journey = *m_journey;
    const JourneyStop& stop = journey.current();
    m_score->setText(QStringLiteral("得点 ") +
                     JourneyTexts::score(journey.score(), journey.possible()));
    m_progress->setText(QStringLiteral("%1 / %2 枚目　シード %3")
                            .arg(journey.position() + 1)
                            .arg(journey.cardCount())
                            .arg(journey.plan().seed));
    m_verdict->clear();
    m_note->clear();
    m_next->setVisible(true);
    switch (stop.kind) {
    case JourneyStop::Kind::Quiz:
        m_title->setText(stop.town);
        m_text->setText(stop.question);
        showAnswers(true);
        for (std::size_t i = 0; i < m_answers.size(); ++i)
            m_answers[i]->setText(QStringLiteral("%1　%2").arg(i + 1).arg(stop.answers[i]));
        m_note->setText(QStringLiteral("%1 点　（1・2・3 キーでも答えられます）").arg(stop.points));
        break;
    case JourneyStop::Kind::Detour:
        m_title->setText(QStringLiteral("寄り道　") + stop.town);
        m_text->setText(stop.text);
        showAnswers(false);
        m_note->setText(
            QStringLiteral("%1 → %2 の途中（%3 km）").arg(stop.from, stop.to, stop.distance));
        break;
    case JourneyStop::Kind::Skipped:
        m_title->setText(stop.town);
        m_text->setText(stop.text + QStringLiteral("。この町は飛ばします。"));
        showAnswers(false);
        break;
    }
    m_next->setEnabled(journey.canGoOn());
    emit stopShown(stop.town);
}

void JourneyWindow::choose(int index)
{
    if (!m_journey)
        return;
    const std::optional<bool> right = m_journey->answer(index);
    if (!right)
        return;
    const JourneyStop& stop = m_journey->current();
    m_answers[std::size_t(stop.correct)]->setStyleSheet(kRightStyle);
    if (!*right)
        m_answers[std::size_t(index)]->setStyleSheet(kWrongStyle);
    m_verdict->setText(*right ? QStringLiteral("○ 正解！ +%1 点").arg(stop.points)
                              : QStringLiteral("× 残念… 正解は %1「%2」")
                                    .arg(stop.correct + 1)
                                    .arg(stop.answers[std::size_t(stop.correct)]));
    m_verdict->setStyleSheet(*right ? QStringLiteral("color: #1a7f37;")
                                    : QStringLiteral("color: #b3261e;"));
    m_score->setText(QStringLiteral("得点 ") +
                     JourneyTexts::score(m_journey->score(), m_journey->possible()));
    m_note->setText(QStringLiteral("Enter か「次へ」で次の町へ"));
    m_next->setEnabled(true);
}

void JourneyWindow::goOn()
{
    if (!m_journey || !m_journey->next())
        return;
    if (!m_journey->isFinished()) {
        showCard();
        return;
    }
    const int seconds = int((m_clock.elapsed() + 500) / 1000);
    showEnd(seconds);
    emit finished(m_journey->record(QDateTime::currentDateTime(), seconds));
}

void JourneyWindow::showEnd(int seconds)
{
    const Journey& journey = *m_journey;
    m_title->setText(QStringLiteral("ゴール！"));
    m_score->setText(QStringLiteral("得点 ") +
                     JourneyTexts::score(journey.score(), journey.possible()));
    m_progress->setText(journey.plan().route);
    m_text->setText(QStringLiteral("得点　%1\n正解　%2\n時間　%3")
                        .arg(JourneyTexts::score(journey.score(), journey.possible()),
                             JourneyTexts::right(journey.right(), journey.questions()),
                             JourneyTexts::duration(seconds)));
    showAnswers(false);
    m_verdict->clear();
    m_verdict->setStyleSheet(QString());
    m_note->clear();
    m_next->setVisible(false);
    m_leave->setText(QStringLiteral("閉じる"));
}

void JourneyWindow::setRecordNote(const QString& text)
{
    m_verdict->setText(text);
}

void JourneyWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
        choose(event->key() - Qt::Key_1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        goOn();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void JourneyWindow::closeEvent(QCloseEvent* event)
{
    // A journey left before its end is not recorded: nothing was handed on for it.
    m_journey.reset();
    event->accept();
    emit closed();
}

} // namespace moravelt
