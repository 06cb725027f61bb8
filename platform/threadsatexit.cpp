// Linked into sanitizer builds of the program and into every test. Qt's threads are detached:
// QThread::wait() returns before the thread has released its thread data, so a process that exits
// right after stopping a thread can reach the leak check while that thread is still ending, and
// the check then reports the data as leaked. This handler is registered after the check and
// before Qt's globals are made, so it runs once those globals have stopped their threads and
// before the check: it waits, two seconds at most, until the exiting thread is the last.

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <thread>

namespace {

int threads()
{
    DIR *tasks = ::opendir("/proc/self/task");
    int count = 0;
    while (const dirent *task = tasks ? ::readdir(tasks) : nullptr)
        count += task->d_name[0] != '.';
    if (tasks)
        ::closedir(tasks);
    return count;
}

void awaitThreads()
{
    for (int i = 0; i < 200 && threads() > 1; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

[[maybe_unused]] const int registered = std::atexit(awaitThreads);

} // namespace
