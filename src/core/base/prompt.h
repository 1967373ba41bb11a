// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace moravelt {

// The game's own message boxes, all titled "モラベルト". Windows show real boxes; tests answer
// through their own implementation so that nothing blocks.
class Prompt
{
public:
    virtual ~Prompt() = default;
    // A Yes/No question without icon; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // A message with an OK button and no icon.
    virtual void inform(const QString& text) = 0;
    // A failure report, shown once and the game goes on.
    virtual void reportError(const QString& text) = 0;
};

} // namespace moravelt
