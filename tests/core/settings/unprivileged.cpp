// SPDX-License-Identifier: MIT

#include "unprivileged.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace moravelt::test {

namespace {

constexpr uid_t kNobody = 65534;

bool writeText(const char* path, const QByteArray& text)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return written;
}

// In the child: a private mount namespace with the tmpfs, then no privileges. An empty text
// when done, else why it could not be set up.
QString enterSandbox(const QByteArray& folder, int tmpfsKiB)
{
    const bool superuser = ::geteuid() == 0;
    const uid_t uid = superuser ? kNobody : ::getuid();
    const gid_t gid = superuser ? kNobody : ::getgid();
    if (superuser) {
        if (::unshare(CLONE_NEWNS) != 0)
            return QStringLiteral("no mount namespace: %1").arg(std::strerror(errno));
    } else {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return QStringLiteral("no user namespace: %1").arg(std::strerror(errno));
        if (!writeText("/proc/self/setgroups", "deny") ||
            !writeText("/proc/self/uid_map",
                       QByteArray::number(uid) + ' ' + QByteArray::number(uid) + " 1") ||
            !writeText("/proc/self/gid_map",
                       QByteArray::number(gid) + ' ' + QByteArray::number(gid) + " 1"))
            return QStringLiteral("cannot map the user into its namespace");
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return QStringLiteral("cannot make the mounts private: %1").arg(std::strerror(errno));
    const QByteArray options = "size=" + QByteArray::number(tmpfsKiB) +
                               "k,mode=0755,uid=" + QByteArray::number(uid) +
                               ",gid=" + QByteArray::number(gid);
    if (::mount("tmpfs", folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) !=
        0)
        return QStringLiteral("cannot mount a tmpfs: %1").arg(std::strerror(errno));
    if (superuser) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
            ::setresuid(uid, uid, uid) != 0)
            return QStringLiteral("cannot become nobody: %1").arg(std::strerror(errno));
    } else {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct none[2] = {};
        if (::syscall(SYS_capset, &header, none) != 0)
            return QStringLiteral("cannot drop capabilities: %1").arg(std::strerror(errno));
    }
    return {};
}

} // namespace

ChildOutcome runUnprivileged(int tmpfsKiB, const std::function<QString(const QString&)>& work)
{
    QTemporaryDir mountPoint;
    // The unprivileged user must be able to reach the mount inside it.
    if (!mountPoint.isValid() ||
        !QFile::setPermissions(mountPoint.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner |
                                                      QFileDevice::ExeGroup |
                                                      QFileDevice::ExeOther))
        return {ChildOutcome::State::Failed, QStringLiteral("no temporary folder")};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return {ChildOutcome::State::Failed, QStringLiteral("no pipe")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(report[0]);
        const QString setUp = enterSandbox(QFile::encodeName(mountPoint.path()), tmpfsKiB);
        const QByteArray answer = setUp.isEmpty()
                                      ? QByteArray("R") + work(mountPoint.path()).toUtf8()
                                      : QByteArray("S") + setUp.toUtf8();
        [[maybe_unused]] const ssize_t sent =
            ::write(report[1], answer.constData(), size_t(answer.size()));
        ::_exit(0);
    }
    ::close(report[1]);
    QByteArray answer;
    char buffer[4096];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        answer.append(buffer, n);
    }
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (child < 0 || !WIFEXITED(status) || answer.isEmpty())
        return {ChildOutcome::State::Failed, QStringLiteral("the child process died")};
    const QString text = QString::fromUtf8(answer.mid(1));
    if (answer.at(0) == 'S')
        return {ChildOutcome::State::Skipped, text};
    return {text.isEmpty() ? ChildOutcome::State::Passed : ChildOutcome::State::Failed, text};
}

} // namespace moravelt::test
