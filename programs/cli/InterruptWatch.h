#pragma once

// Ctrl+C (SIGINT) and SIGTERM during a PLC command: instead of killing the
// tool half-way, they stop the running transfer at its next request, so that
// the command ends as after any stopped transfer (no output file, the partial
// write reported). While the watch lives, the signals are blocked in every
// thread and taken by one thread of its own, which may call into the
// communication libraries as no signal handler could.

#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

class InterruptWatch {
public:
    // onInterrupt runs on the watch's thread at each signal.
    explicit InterruptWatch(std::function<void()> onInterrupt);
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool Interrupted() const { return m_interrupted.load(); }

private:
    std::function<void()> m_onInterrupt;
    sigset_t m_signals{};
    sigset_t m_previous{};
    std::atomic<bool> m_interrupted{false};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The exit status of a command stopped by a signal, as a shell reports one.
inline constexpr int kExitInterrupted = 128 + SIGINT;
