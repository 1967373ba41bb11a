// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <functional>

namespace moravelt::test {

// What a piece of work run in a child process said.
struct ChildOutcome
{
    enum class State
    {
        Passed,
        Failed,
        Skipped
    };
    State state = State::Failed;
    QString text; // what went wrong, or why it could not run
};

// Runs the work in a child process that has a folder of its own on a private tmpfs of the
// given size and no privileges at all: as the superuser it becomes the user "nobody"; any
// other user keeps its id inside a user namespace and drops every capability. Permission
// bits then bind the work as they bind a player. The work returns an empty text when all its
// checks held, else what failed. Skipped when the system allows no mount namespace or no tmpfs.
ChildOutcome runUnprivileged(int tmpfsKiB, const std::function<QString(const QString&)>& work);

} // namespace moravelt::test
