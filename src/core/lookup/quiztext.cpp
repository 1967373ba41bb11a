// SPDX-License-Identifier: MIT

#include "lookup/quiztext.h"

#include "base/moravelterror.h"

namespace moravelt::QuizText {

namespace {

const QString kBreak = QStringLiteral("\r\n");

QString cell(const QVariantList& row, int position)
{
    if (position >= row.size())
        throw MoraveltError(QStringLiteral("クイズのデータに列 %1 がありません").arg(position));
    return row[position].toString();
}

} // namespace

QString answer(const QString& text, bool withMarks)
{
    return withMarks ? text : text.mid(3);
}

QString quiz(const QVariantList& row, bool withMarks)
{
    QString text = kBreak + cell(row, 1);
    for (int position = 2; position <= 4; ++position)
        text += kBreak + answer(cell(row, position), withMarks);
    return text + kBreak + cell(row, 5) + QStringLiteral(" Point!");
}

QString event(const QVariantList& row)
{
    if (row.size() < 2)
        throw MoraveltError(QStringLiteral("隠れ里のデータにイベントの列がありません"));
    return kBreak + row[1].toString();
}

} // namespace moravelt::QuizText
