// SPDX-License-Identifier: MIT
//
// The smallest X session manager that can log a desktop out: it starts one program with
// SESSION_MANAGER pointing at itself and accepts its registration. At the first SIGUSR1 it asks
// the program to save for a shutdown (SaveYourself, no interaction) and reports when the
// program says it is done: whatever the program keeps must be on disk by then, since a session
// may end at any moment after. At the second SIGUSR1 it tells the program to die. Exits 0 when
// the program reported a successful save and ended with code 0.
//   logoutsession PROGRAM [ARGUMENTS...]
// Prints "registered", "saved" and "ended CODE" as the session goes.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t g_requests = 0;
SmsConn g_client = nullptr;
bool g_saved = false;
bool g_asked = false;
bool g_died = false;

extern "C" void logoutRequested(int)
{
    g_requests = g_requests + 1;
}

extern "C" Bool anyHost(char*)
{
    return True; // a test session on this machine only
}

extern "C" Status registerClient(SmsConn connection, SmPointer, char*)
{
    char* id = SmsGenerateClientID(connection);
    const Status status = SmsRegisterClientReply(connection, id);
    std::free(id);
    g_client = connection;
    std::puts("registered");
    std::fflush(stdout);
    return status;
}

extern "C" void saveYourselfDone(SmsConn, SmPointer, Bool success)
{
    g_saved = success;
    std::puts(success ? "saved" : "save failed");
    std::fflush(stdout);
}

extern "C" void closeConnection(SmsConn connection, SmPointer, int count, char** reasons)
{
    // The program closes its end of the connection next; the loop lets go of it then.
    SmFreeReasons(count, reasons);
    SmsCleanUp(connection);
    if (connection == g_client)
        g_client = nullptr;
}

extern "C" void setProperties(SmsConn, SmPointer, int count, SmProp** properties)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(properties[i]);
    std::free(properties);
}

extern "C" void deleteProperties(SmsConn, SmPointer, int count, char** names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

extern "C" void getProperties(SmsConn connection, SmPointer)
{
    SmsReturnProperties(connection, 0, nullptr);
}

extern "C" void interactRequest(SmsConn connection, SmPointer, int)
{
    SmsInteract(connection);
}

extern "C" void interactDone(SmsConn, SmPointer, Bool) {}
extern "C" void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
extern "C" void saveYourselfPhase2Request(SmsConn connection, SmPointer)
{
    SmsSaveYourselfPhase2(connection);
}

extern "C" Status newClient(SmsConn, SmPointer, unsigned long* mask, SmsCallbacks* callbacks,
                            char**)
{
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
            SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
            SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
    callbacks->register_client.callback = registerClient;
    callbacks->interact_request.callback = interactRequest;
    callbacks->interact_done.callback = interactDone;
    callbacks->save_yourself_request.callback = saveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = saveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = saveYourselfDone;
    callbacks->close_connection.callback = closeConnection;
    callbacks->set_properties.callback = setProperties;
    callbacks->delete_properties.callback = deleteProperties;
    callbacks->get_properties.callback = getProperties;
    return 1;
}

extern "C" void ignoreIoError(IceConn) {}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: logoutsession PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    char error[256] = "";
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!SmsInitialize("moravelt-test", "1.0", newClient, nullptr, anyHost, sizeof error, error) ||
        !IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "logoutsession: %s\n", error);
        return 2;
    }
    IceSetIOErrorHandler(ignoreIoError);
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], anyHost);
    char* ids = IceComposeNetworkIdList(count, listeners);
    setenv("SESSION_MANAGER", ids, 1);
    std::free(ids);

    std::signal(SIGUSR1, logoutRequested);
    const pid_t program = fork();
    if (program == 0) {
        std::signal(SIGUSR1, SIG_DFL);
        execvp(argv[1], argv + 1);
        std::perror("logoutsession: exec");
        _exit(127);
    }

    std::vector<IceConn> connections;
    int status = 0;
    for (;;) {
        if (waitpid(program, &status, WNOHANG) == program)
            break;
        if (g_requests >= 1 && g_client && !g_asked) {
            g_asked = true;
            SmsSaveYourself(g_client, SmSaveBoth, True, SmInteractStyleNone, False);
        }
        if (g_requests >= 2 && g_client && !g_died) {
            g_died = true;
            SmsDie(g_client);
        }
        std::vector<pollfd> watched;
        for (int i = 0; i < count; ++i)
            watched.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn connection : connections)
            watched.push_back({IceConnectionNumber(connection), POLLIN, 0});
        if (poll(watched.data(), watched.size(), 100) <= 0)
            continue;
        const std::size_t polled = connections.size();
        for (int i = 0; i < count; ++i) {
            if (!(watched[std::size_t(i)].revents & POLLIN))
                continue;
            IceAcceptStatus accepted;
            if (IceConn connection = IceAcceptConnection(listeners[i], &accepted))
                connections.push_back(connection);
        }
        for (std::size_t i = 0; i < polled; ++i) {
            if (!(watched[std::size_t(count) + i].revents & (POLLIN | POLLHUP)))
                continue;
            if (IceProcessMessages(connections[i], nullptr, nullptr) == IceProcessMessagesIOError ||
                IceConnectionStatus(connections[i]) != IceConnectAccepted) {
                if (IceConnectionStatus(connections[i]) == IceConnectPending)
                    continue;
                IceSetShutdownNegotiation(connections[i], False);
                IceCloseConnection(connections[i]);
                connections.erase(connections.begin() + std::ptrdiff_t(i));
                break;
            }
        }
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("ended %d\n", code);
    return g_saved && code == 0 ? 0 : 1;
}
