#pragma once
// Guards for tests of code that must refuse what would make it wait, so that a broken
// refusal fails the test within seconds instead of hanging it until the time-out.
//
// TFifoWatchdog makes a named pipe. Should the code under test wait on it after all
// (opening a pipe waits for its other end, reading it for data), the watchdog opens
// the other end after a few seconds, writes a line and closes it: the waiting call
// returns, and the test fails on Fired() or its own assertions. SIGPIPE is ignored
// meanwhile, so a writer whose reader has gone gets EPIPE instead of ending the binary.
//
// THangGuard is for waits nobody else can end (a kernel log read): after its time it
// names what hung on standard error and aborts the binary.

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

// Runs `fire` on a thread of its own unless stopped within `delay`.
class TDelayedAction {
public:
    template <class Fire>
    TDelayedAction(std::chrono::milliseconds delay, Fire fire)
        : FThread([this, delay, fire] {
              std::unique_lock lock(FMutex);
              if (FStopped.wait_for(lock, delay, [this] { return FStop; })) {
                  return;
              }
              lock.unlock();
              FFired = true;
              fire();
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
    static constexpr std::chrono::milliseconds DefaultDelay{3000};

    explicit TFifoWatchdog(const std::string& path, std::chrono::milliseconds delay = DefaultDelay)
        : FMade(::mkfifo(path.c_str(), 0600) == 0), FPreviousPipe(std::signal(SIGPIPE, SIG_IGN)),
          FAction(delay, [path] {
              // Both ends at once: this open never waits, and it ends the wait of an
              // open for either end.
              const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
              if (fd >= 0) {
                  const char line[] = "the watchdog\n";
                  (void)!::write(fd, line, sizeof line - 1);
                  ::close(fd);
              }
          })
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
    explicit THangGuard(std::string what, std::chrono::milliseconds delay = std::chrono::seconds(10))
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
