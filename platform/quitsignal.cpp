#include "platform/quitsignal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

namespace tolvane::QuitSignal {
namespace {

// Only a lock-free atomic and write() are safe inside a signal handler.
std::atomic<int> g_received = 0;
static_assert(std::atomic<int>::is_always_lock_free);
int g_pipe[2] = {-1, -1};

void onSignal(int signal)
{
    const int savedErrno = errno;
    int none = 0;
    g_received.compare_exchange_strong(none, signal);
    if (g_pipe[1] >= 0)
        (void)!::write(g_pipe[1], "q", 1);
    errno = savedErrno;
}

} // namespace

void install()
{
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        g_pipe[0] = g_pipe[1] = -1;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // A file call interrupted by the signal carries on: the batch decides where to stop.
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int received()
{
    return g_received.load(std::memory_order_relaxed);
}

int descriptor()
{
    return g_pipe[0];
}

void endIfReceived()
{
    const int signal = received();
    if (signal == 0)
        return;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

} // namespace tolvane::QuitSignal
