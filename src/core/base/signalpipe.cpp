// SPDX-License-Identifier: MIT

#include "base/signalpipe.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace moravelt {

namespace {

std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");

extern "C" void writeSignalNumber(int signalNumber)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a wake-up: dropping this byte loses nothing that matters.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd.load(), &number, 1);
    errno = saved;
}

} // namespace

SignalPipe::SignalPipe(const std::vector<int>& signalNumbers, QObject* parent) : QObject(parent)
{
    if (::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC) != 0)
        return; // the signals keep their default action
    g_writeEnd.store(m_pipe[1]);
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalPipe::drain);
    for (const int number : signalNumbers) {
        struct sigaction former = {};
        if (::sigaction(number, nullptr, &former) != 0 || former.sa_handler == SIG_IGN)
            continue;
        struct sigaction caught = {};
        caught.sa_handler = writeSignalNumber;
        sigemptyset(&caught.sa_mask);
        caught.sa_flags = SA_RESTART; // the rest of the program sees no EINTR
        if (::sigaction(number, &caught, &former) == 0)
            m_former.emplace_back(number, former);
    }
}

SignalPipe::~SignalPipe()
{
    for (const auto& [number, former] : m_former)
        ::sigaction(number, &former, nullptr);
    if (m_pipe[0] < 0)
        return;
    g_writeEnd.store(-1);
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void SignalPipe::raiseUncaught(int signalNumber)
{
    struct sigaction uncaught = {};
    uncaught.sa_handler = SIG_DFL;
    sigemptyset(&uncaught.sa_mask);
    ::sigaction(signalNumber, &uncaught, nullptr);
    ::raise(signalNumber);
}

void SignalPipe::drain()
{
    unsigned char numbers[64];
    for (;;) {
        const ssize_t n = ::read(m_pipe[0], numbers, sizeof numbers);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i)
            emit received(numbers[i]);
    }
}

} // namespace moravelt
