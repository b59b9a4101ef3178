#pragma once
// Windows Sockets for the life of a test object, as the launcher starts them at start-up.
#include <winsock2.h>

class CWinsockSession {
public:
    CWinsockSession()
    {
        WSADATA data;
        m_bStarted = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    ~CWinsockSession()
    {
        if (m_bStarted)
            WSACleanup();
    }
    CWinsockSession(const CWinsockSession&) = delete;
    CWinsockSession& operator=(const CWinsockSession&) = delete;

    bool Started() const { return m_bStarted; }

private:
    bool m_bStarted = false;
};
