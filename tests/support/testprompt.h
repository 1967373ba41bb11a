// SPDX-License-Identifier: MIT

#pragma once

#include "base/prompt.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace moravelt::test {

// Answers the game's message boxes without blocking and remembers what they said.
class TestPrompt : public Prompt
{
public:
    bool askYesNo(const QString& text) override
    {
        questions << text;
        // What happens while a real box would be open and its event loop running.
        if (whileAsking)
            whileAsking();
        if (answers.empty())
            return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void inform(const QString& text) override { messages << text; }
    void reportError(const QString& text) override { errors << text; }

    std::deque<bool> answers; // Yes when empty
    std::function<void()> whileAsking;
    QStringList questions;
    QStringList messages;
    QStringList errors;
};

} // namespace moravelt::test
