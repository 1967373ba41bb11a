// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <exception>

namespace moravelt {

// The one place where a failure becomes the text a player reads: a MoraveltError's own
// message, the memory message for std::bad_alloc, and a general one (with what the library
// said) for anything else.
QString playerMessage(std::exception_ptr failure);

// The same for the exception being handled; call it only inside a catch block.
QString playerMessage();

} // namespace moravelt
