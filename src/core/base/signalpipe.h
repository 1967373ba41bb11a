// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <csignal>
#include <vector>

class QSocketNotifier;

namespace moravelt {

// Turns POSIX signals into a Qt signal on the thread that made it. The handler does nothing
// but write the signal's number to a non-blocking pipe (a self-pipe: write is safe in a signal
// handler, nothing else here would be); a QSocketNotifier reads it once the event loop runs.
// A signal that is ignored when this is made (as nohup leaves SIGHUP) stays ignored. One
// instance at a time; the destructor puts back the former handlers.
class SignalPipe : public QObject
{
    Q_OBJECT
public:
    explicit SignalPipe(const std::vector<int>& signalNumbers, QObject* parent = nullptr);
    ~SignalPipe() override;
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // Ends the process by the signal as if it had never been caught.
    static void raiseUncaught(int signalNumber);

signals:
    void received(int signalNumber);

private:
    void drain();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    std::vector<std::pair<int, struct sigaction>> m_former;
};

} // namespace moravelt
