// SPDX-License-Identifier: MIT

#pragma once

#include "base/prompt.h"

class QWidget;

namespace moravelt {

// The game's message boxes as real, modal boxes titled "モラベルト".
class MessageBoxPrompt : public Prompt
{
public:
    bool askYesNo(const QString& text) override;
    void inform(const QString& text) override;
    void reportError(const QString& text) override;
};

} // namespace moravelt
