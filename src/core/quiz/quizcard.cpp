// SPDX-License-Identifier: MIT

#include "quiz/quizcard.h"

#include "mapdb/recordset.h"
#include "quiz/seededshuffle.h"

#include <cmath>

namespace moravelt::QuizCard {

namespace {

constexpr double kMaxPoints = 1'000'000;

JourneyStop skipped(const QString& town, const QString& why)
{
    JourneyStop stop;
    stop.kind = JourneyStop::Kind::Skipped;
    stop.town = town;
    stop.text = why;
    return stop;
}

} // namespace

int points(const QVariant& value)
{
    if (value.isNull())
        return 0;
    bool ok = true;
    double number = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        number = value.toDouble();
        break;
    default:
        number = value.toString().trimmed().toDouble(&ok);
    }
    if (!ok || !std::isfinite(number) || number < 0 || number > kMaxPoints ||
        number != std::floor(number))
        return 0;
    return int(number);
}

JourneyStop read(const QString& town, const Recordset& quiz, const SeededShuffle& shuffle,
                 quint64 stream)
{
    if (quiz.rowCount() == 0)
        return skipped(town, QStringLiteral("この町にはクイズがありません"));
    const QVariantList& row = quiz.row(0);
    if (row.size() < 6)
        return skipped(town, QStringLiteral("この町のクイズはデータが足りません"));

    std::array<QString, 3> answers;
    int marked = 0;
    int correct = -1;
    for (int i = 0; i < 3; ++i) {
        const QString text = row[2 + i].toString();
        answers[std::size_t(i)] = text.mid(3);
        if (text.startsWith(u'正')) {
            ++marked;
            correct = i;
        }
    }
    if (marked == 0)
        return skipped(town, QStringLiteral("この町のクイズには正解の印がありません"));
    if (marked > 1)
        return skipped(town,
                       QStringLiteral("この町のクイズには正解の印が %1 つあります").arg(marked));

    JourneyStop stop;
    stop.kind = JourneyStop::Kind::Quiz;
    stop.town = town;
    stop.question = row[1].toString();
    stop.points = points(row[5]);
    const std::vector<int> order = shuffle.permutation(3, stream);
    for (int i = 0; i < 3; ++i) {
        stop.answers[std::size_t(i)] = answers[std::size_t(order[std::size_t(i)])];
        if (order[std::size_t(i)] == correct)
            stop.correct = i;
    }
    return stop;
}

} // namespace moravelt::QuizCard
