#pragma once

#include "app/prompt.h"

#include <QList>
#include <QStringList>

namespace moravelt::test {

// Answers the game's questions from a list (Yes once it runs out) and records every box.
class TestPrompt : public Prompt
{
public:
    QList<bool> answers;
    QStringList questions;
    QStringList messages;
    QStringList errors;

    bool askYesNo(const QString& text) override
    {
        questions << text;
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    void inform(const QString& text) override { messages << text; }
    void reportError(const QString& text) override { errors << text; }
};

} // namespace moravelt::test
