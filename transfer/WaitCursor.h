#pragma once

#include "transfer/ICommHost.h"

// Shows the host's wait cursor for as long as it lives, or until End.
class WaitCursor {
public:
    explicit WaitCursor(ICommHost& host)
        : m_host(host)
    {
        m_host.BeginWaitCursor();
    }
    ~WaitCursor() { End(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void End()
    {
        if (m_on)
            m_host.EndWaitCursor();
        m_on = false;
    }

private:
    ICommHost& m_host;
    bool m_on = true;
};
