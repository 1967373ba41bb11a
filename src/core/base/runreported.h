// SPDX-License-Identifier: MIT

#pragma once

#include "base/playermessage.h"
#include "base/prompt.h"

#include <utility>

namespace moravelt {

// Runs the work that an event handler started and shows its failure in one "モラベルト" box,
// so that no exception is ever thrown through Qt's event delivery. True when the work ended
// without a failure.
template <typename Work> bool runReported(Prompt& prompt, Work&& work)
{
    try {
        std::forward<Work>(work)();
        return true;
    } catch (...) {
        prompt.reportError(playerMessage());
    }
    return false;
}

} // namespace moravelt
