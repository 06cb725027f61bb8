// QtTest's watchdog thread is detached: QThread::wait() returns before that thread has released
// its thread data. If the leak check at exit runs meanwhile (on a loaded machine it may fail to
// stop a dying thread and skip it), that data is reported as leaked. Every test waits at exit
// until the thread is gone; this handler, registered after the sanitizer's, runs before its check.

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

bool watchdogRunning()
{
    DIR *tasks = ::opendir("/proc/self/task");
    if (!tasks)
        return false;
    bool found = false;
    while (const dirent *task = found ? nullptr : ::readdir(tasks)) {
        const std::string path = std::string("/proc/self/task/") + task->d_name + "/comm";
        char name[32] = {};
        if (const int fd = ::open(path.c_str(), O_RDONLY); fd >= 0) {
            found = ::read(fd, name, sizeof name - 1) > 0 &&
                    std::strcmp(name, "QtTest Watchdog\n") == 0;
            ::close(fd);
        }
    }
    ::closedir(tasks);
    return found;
}

void awaitWatchdog()
{
    for (int i = 0; i < 500 && watchdogRunning(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

[[maybe_unused]] const int registered = std::atexit(awaitWatchdog);

} // namespace
