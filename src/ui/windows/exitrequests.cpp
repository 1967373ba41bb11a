// SPDX-License-Identifier: MIT

#include "windows/exitrequests.h"

#include "base/signalpipe.h"
#include "windows/form1.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <csignal>

namespace moravelt {

ExitRequests::ExitRequests(Form1& main, QObject* parent)
    : QObject(parent), m_main(main), m_signals(new SignalPipe({SIGTERM, SIGHUP, SIGINT}, this))
{
    connect(m_signals, &SignalPipe::received, this, &ExitRequests::signalReceived);
    // Direct: the session manager waits for the save before it goes on with the logout.
    connect(
        qGuiApp, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager&) { m_main.runExitSequence(); }, Qt::DirectConnection);
}

void ExitRequests::signalReceived(int signalNumber)
{
    if (m_main.exiting())
        SignalPipe::raiseUncaught(signalNumber);
    else
        m_main.runExitSequence();
}

} // namespace moravelt
