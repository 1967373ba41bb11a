// SPDX-License-Identifier: MIT

#include "navilist/navilistbuilder.h"

#include "base/moravelterror.h"
#include "mapdb/queryslots.h"
#include "mapdb/querytexts.h"
#include "navi/routestring.h"
#include "navilist/flexgridmodel.h"

#include <QLocale>

namespace moravelt {

namespace {

// A number as plain decimal text: no grouping, no exponent, no ".0" on a whole value.
QString plainNumber(const QVariant& value)
{
    if (value.isNull())
        return {};
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float)
        return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    return value.toString();
}

void appendRow(FlexGridModel& grid)
{
    grid.setRows(grid.rows() + 1);
}

} // namespace

void NaviListBuilder::NaveSet(const QString& strRuto, bool showAnswers, FlexGridModel& grid)
{
    const QStringList parts = RouteString::split(strRuto);
    if (parts.size() < 2)
        throw MoraveltError(QStringLiteral("ルート「%1」には町がありません").arg(strRuto));
    const qsizetype last = parts.size() - 1;

    grid.setRows(2);
    grid.clear();
    for (qsizetype k = 1; k < last; ++k)
        writeLeg(parts[k], parts[k + 1], showAnswers, grid);

    // The final row names the town as the roads table spells it, or as the route does when
    // no road leaves it.
    const int row = grid.rows() - 1;
    m_slots.SetSQL(QueryTexts::distances(parts[last]));
    const RecordsetPtr final = m_slots.Rs();
    const QVariant town = final->eof() ? QVariant() : final->value(QStringLiteral("出発地"));
    grid.setTextMatrix(row, 0, town.isNull() ? parts[last] : town.toString());
    if (showAnswers)
        writeAnswer(parts[last], row, grid);
    m_slots.releaseRs1();
}

void NaviListBuilder::writeLeg(const QString& from, const QString& to, bool showAnswers,
                               FlexGridModel& grid)
{
    const int row = grid.rows() - 1;
    m_slots.SetSQL(QueryTexts::oneLeg(from, to));
    const RecordsetPtr leg = m_slots.Rs();
    QVariant legDestination;
    if (!leg->eof()) {
        legDestination = leg->value(QStringLiteral("目的地"));
        grid.setTextMatrix(row, 0, leg->value(QStringLiteral("出発地")).toString());
        grid.setTextMatrix(row, 2, legDestination.toString());
        grid.setTextMatrix(row, 3,
                           plainNumber(leg->value(QStringLiteral("km"))) + QStringLiteral(" km "));
    }
    grid.setTextMatrix(row, 1, QStringLiteral("→"));
    if (showAnswers)
        writeAnswer(from, row, grid);
    appendRow(grid);
    // Without its road row the leg has no destination that hidden towns could match.
    if (!legDestination.isNull())
        writeHiddenTowns(from, legDestination.toString(), grid);
}

void NaviListBuilder::writeHiddenTowns(const QString& from, const QString& legDestination,
                                       FlexGridModel& grid)
{
    m_slots.SetSQL(QueryTexts::hiddenOnRoad(from));
    const RecordsetPtr hidden = m_slots.Rs();
    for (; !hidden->eof(); hidden->moveNext()) {
        const QVariant to = hidden->value(QStringLiteral("目的地"));
        if (to.isNull() || to.toString() != legDestination)
            continue;
        const int row = grid.rows() - 1;
        const QString name = hidden->value(QStringLiteral("隠れ")).toString();
        grid.setTextMatrix(row, 1, name);
        grid.setTextMatrix(row, 3,
                           QStringLiteral("(") +
                               plainNumber(hidden->value(QStringLiteral("隠れた街までの距離"))) +
                               QStringLiteral(" km)"));
        m_slots.SetSQL1(QueryTexts::hiddenEvent(name));
        const RecordsetPtr event = m_slots.Rs1();
        if (!event->eof())
            grid.setTextMatrix(row, 2, event->value(QStringLiteral("イベント")).toString());
        appendRow(grid);
    }
}

void NaviListBuilder::writeAnswer(const QString& town, int row, FlexGridModel& grid)
{
    m_slots.SetSQL(QueryTexts::quiz(town));
    const RecordsetPtr quiz = m_slots.Rs();
    if (quiz->eof())
        return;
    // Each marked answer overwrites the one before, so the last marked one stays.
    for (const QString& column :
         {QStringLiteral("Ans1"), QStringLiteral("Ans2"), QStringLiteral("Ans3")}) {
        const QVariant answer = quiz->value(column);
        if (!answer.isNull() && answer.toString().startsWith(u'正'))
            grid.setTextMatrix(row, 4, answer.toString().mid(3));
    }
}

} // namespace moravelt
