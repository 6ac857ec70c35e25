#pragma once
// Guards for tests of code that must refuse what would make it wait, so that a broken
// refusal fails the test instead of hanging it until the time-out. Their delay is the
// generous wait for a state (StateTimeout.h): what the test does meanwhile may take
// seconds on a busy machine, and a guard that fires fails the test.
//
// TFifoWatchdog makes a named pipe. Should the code under test wait on it after all
// (opening a pipe waits for its other end, reading it for data), the watchdog opens
// the other end once its delay is up, writes a line and closes it, and does so again
// every tenth of a second until it goes, so that every later wait ends too (a second
// open, a read after the first line): the waiting calls return, and the test fails on
// Fired() or its own assertions. SIGPIPE is ignored meanwhile, so a writer whose reader
// has gone gets EPIPE instead of ending the binary.
//
// THangGuard is for waits nobody else can end (a kernel log read): after its time it
// names what hung on standard error and aborts the binary.

#include "StateTimeout.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

// Runs `fire` on a thread of its own unless stopped within `delay`; given a period, runs
// it again after each period until stopped.
class TDelayedAction {
public:
    template <class Fire>
    TDelayedAction(std::chrono::milliseconds delay, Fire fire,
                   std::chrono::milliseconds period = std::chrono::milliseconds::zero())
        : FThread([this, delay, period, fire] {
              std::unique_lock lock(FMutex);
              for (auto wait = delay; !FStopped.wait_for(lock, wait, [this] { return FStop; }); wait = period) {
                  lock.unlock();
                  FFired = true;
                  fire();
                  if (period == std::chrono::milliseconds::zero()) {
                      return;
                  }
                  lock.lock();
              }
          })
    {
    }
    ~TDelayedAction()
    {
        {
            const std::lock_guard lock(FMutex);
            FStop = true;
        }
        FStopped.notify_all();
        FThread.join();
    }
    TDelayedAction(const TDelayedAction&) = delete;
    TDelayedAction& operator=(const TDelayedAction&) = delete;

    bool Fired() const { return FFired; }

private:
    std::mutex FMutex;
    std::condition_variable FStopped;
    bool FStop = false;
    std::atomic<bool> FFired{false};
    std::thread FThread;
};

class TFifoWatchdog {
public:
    static constexpr std::chrono::milliseconds DefaultDelay{StateTimeoutMs};

    explicit TFifoWatchdog(const std::string& path, std::chrono::milliseconds delay = DefaultDelay)
        : FMade(::mkfifo(path.c_str(), 0600) == 0), FPreviousPipe(std::signal(SIGPIPE, SIG_IGN)),
          FAction(delay, [path] {
              // Both ends at once: this open never waits, and it ends the wait of an
              // open for either end. Only the pipe is written: should the code under
              // test have put a file in its place, the file is left as it is.
              const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
              struct stat info {};
              if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISFIFO(info.st_mode)) {
                  const char line[] = "the watchdog\n";
                  (void)!::write(fd, line, sizeof line - 1);
              }
              if (fd >= 0) {
                  ::close(fd);
              }
          }, std::chrono::milliseconds(100))
    {
    }
    ~TFifoWatchdog() { std::signal(SIGPIPE, FPreviousPipe); }

    // The pipe was made.
    bool Made() const { return FMade; }
    // Something waited on the pipe until the watchdog ended the wait.
    bool Fired() const { return FAction.Fired(); }

private:
    bool FMade;
    void (*FPreviousPipe)(int);
    TDelayedAction FAction;
};

class THangGuard {
public:
    explicit THangGuard(std::string what, std::chrono::milliseconds delay = std::chrono::milliseconds(StateTimeoutMs))
        : FAction(delay, [what] {
              std::fprintf(stderr, "%s: still waiting, the test binary is ended\n", what.c_str());
              std::abort();
          })
    {
    }

private:
    TDelayedAction FAction;
};

} // namespace testsupport
