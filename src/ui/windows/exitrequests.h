// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

class QSessionManager;

namespace moravelt {

class Form1;
class SignalPipe;

// What ends the game besides a close of the main window: SIGTERM, SIGHUP and SIGINT, and the
// logout of a desktop session (QGuiApplication::commitDataRequest). Each runs the main
// window's exit sequence, as a close does, so the settings are saved. A signal that comes
// while the exit sequence runs already (its message box about a failed save is open) ends
// the process at once, as if it had not been caught.
class ExitRequests : public QObject
{
    Q_OBJECT
public:
    explicit ExitRequests(Form1& main, QObject* parent = nullptr);

private:
    void signalReceived(int signalNumber);

    Form1& m_main;
    SignalPipe* m_signals;
};

} // namespace moravelt
