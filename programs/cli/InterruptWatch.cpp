#include "programs/cli/InterruptWatch.h"

#include <ctime>
#include <pthread.h>

InterruptWatch::InterruptWatch(std::function<void()> onInterrupt)
    : m_onInterrupt(std::move(onInterrupt))
{
    sigemptyset(&m_signals);
    sigaddset(&m_signals, SIGINT);
    sigaddset(&m_signals, SIGTERM);
    // Before any other thread starts, so that they all inherit the mask.
    pthread_sigmask(SIG_BLOCK, &m_signals, &m_previous);
    m_thread = std::thread([this] {
        const timespec poll{0, 50 * 1000 * 1000};
        while (!m_stop.load()) {
            if (sigtimedwait(&m_signals, nullptr, &poll) > 0) {
                m_interrupted.store(true);
                if (m_onInterrupt)
                    m_onInterrupt();
            }
        }
    });
}

InterruptWatch::~InterruptWatch()
{
    m_stop.store(true);
    m_thread.join();
    // A signal still pending ends the tool as the user asked.
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}
