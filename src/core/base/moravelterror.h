// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <stdexcept>

namespace moravelt {

// A failure with a message a player can read. Thrown by core code; the event handler
// boundary shows it in a message box and the game goes on.
class MoraveltError : public std::runtime_error
{
public:
    explicit MoraveltError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

} // namespace moravelt
