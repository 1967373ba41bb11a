// SPDX-License-Identifier: MIT

#include "quizcheck.h"

#include <QFileInfo>
#include <QHash>

namespace moravelt {

namespace {

// The mark "正解：" or "不正：" in front of every answer.
constexpr qsizetype markLength = 3;

qsizetype characters(const QString& text)
{
    return text.toUcs4().size();
}

} // namespace

void QuizCheck::run(const WorldData& world)
{
    QHash<QString, const WorldQuiz*> byTown;
    for (const WorldQuiz& quiz : world.quizzes) {
        if (m_index.isHidden(quiz.town))
            m_diag.error(quiz.at, QStringLiteral("quiz for the hidden town \"%1\"").arg(quiz.town));
        else if (!m_index.find(quiz.town))
            m_diag.error(quiz.at, QStringLiteral("quiz for an unknown town \"%1\"").arg(quiz.town));
        if (const WorldQuiz* first = byTown.value(quiz.town, nullptr))
            m_diag.error(quiz.at, QStringLiteral("duplicate quiz for \"%1\" (first at %2:%3)")
                                      .arg(quiz.town, QFileInfo(first->at.file).fileName())
                                      .arg(first->at.line));
        else
            byTown.insert(quiz.town, &quiz);
        checkAnswers(quiz);
    }
    for (const WorldTown& town : world.towns) {
        if (!town.hidden && m_index.find(town.name) == &town && !byTown.contains(town.name))
            m_diag.error(town.at, QStringLiteral("town \"%1\" has no quiz").arg(town.name));
    }
}

void QuizCheck::checkAnswers(const WorldQuiz& quiz)
{
    int correct = 0;
    for (std::size_t i = 0; i < quiz.answers.size(); ++i) {
        const QString& answer = quiz.answers[i];
        if (answer.startsWith(QStringLiteral("正")))
            ++correct;
        if (characters(answer) < markLength + 1)
            m_diag.error(quiz.at, QStringLiteral("Ans%1 is shorter than its three-character "
                                                 "mark and one character of answer")
                                      .arg(i + 1));
    }
    if (correct != 1)
        m_diag.error(quiz.at,
                     QStringLiteral("%1 answers start with 正; exactly one must").arg(correct));
}

} // namespace moravelt
