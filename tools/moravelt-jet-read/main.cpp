// SPDX-License-Identifier: MIT

// moravelt-jet-read: reads a Jet map file through libmdb in a process of its own, so that a
// file that crashes libmdb or makes it loop takes down only this process. The game and the
// map tool start it and read the SQLite copy it writes.
#include "jetreadcommand.h"

#include <QCoreApplication>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

void limitThisProcess()
{
    // Never outlive the program that is waiting for the copy.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // A crash leaves no core file beside the player's files.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
#ifndef __SANITIZE_ADDRESS__
    // A length in a damaged file must not make libmdb take the machine's memory. (An
    // AddressSanitizer build reserves far more address space than it uses.)
    const rlim_t memory = rlim_t(2) << 30;
    const rlimit asMuch{memory, memory};
    ::setrlimit(RLIMIT_AS, &asMuch);
#endif
}

// Writes all of `bytes` to the descriptor the starting program reads the answer from.
void writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

} // namespace

int main(int argc, char** argv)
{
    limitThisProcess();
    // Standard output carries the answer alone; whatever libmdb prints there goes with its
    // other words to standard error, which the starting program reads as libmdb's report.
    const int answer = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    QCoreApplication app(argc, argv);
    return moravelt::runJetRead(QCoreApplication::arguments().mid(1),
                                [answer](const QByteArray& bytes) { writeAll(answer, bytes); });
}
