#pragma once
// A scripted HTTP server for tests: listens on 127.0.0.1 on a free port, takes one
// connection at a time, records what the client sent and answers with exact bytes. It
// stops when destroyed, or by itself after kLifetimeMs, so no test can leave it behind.
#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/winsock_session.h"

struct LoopbackReply {
    LoopbackReply(std::string replyBytes = std::string(), DWORD replyHoldMs = 0, std::string replyTail = std::string())
        : bytes(std::move(replyBytes)), holdMs(replyHoldMs), tail(std::move(replyTail))
    {
    }

    std::string bytes;     // sent as they stand
    DWORD holdMs;          // then silence: a stalled server
    std::string tail;      // then these bytes, and the connection is closed
};

class CLoopbackServer {
public:
    static const DWORD kLifetimeMs = 120000;
    // Given the request text (up to its empty line), decides the reply.
    using Responder = std::function<LoopbackReply(const std::string& request)>;

    // Port 0 takes any free port.
    explicit CLoopbackServer(Responder responder, u_short port = 0);
    ~CLoopbackServer();
    CLoopbackServer(const CLoopbackServer&) = delete;
    CLoopbackServer& operator=(const CLoopbackServer&) = delete;

    // From now on every connection is reset at once, before anything is read or sent.
    void ResetConnections() { m_bReset = true; }

    bool Listening() const { return m_listener != INVALID_SOCKET; }
    int Port() const { return m_nPort; }
    // "http://127.0.0.1:<port>" followed by `path`.
    std::string Url(const std::string& path) const;

    // One entry per connection, in order, recorded as soon as the request has been read
    // (before the reply, so a client that has its answer finds its request here): the
    // request text received (empty when the client sent nothing or the connection was reset).
    std::vector<std::string> Requests() const;
    // Waits until `count` connections have been served in full.
    bool WaitForServed(size_t count, DWORD timeoutMs) const;

private:
    void Run();
    void Serve(SOCKET connection);
    void Record(const std::string& request);

    CWinsockSession m_winsock;
    Responder m_responder;
    SOCKET m_listener = INVALID_SOCKET;
    int m_nPort = 0;
    HANDLE m_hStop = nullptr;
    std::atomic<bool> m_bReset{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    size_t m_nServed = 0;  // connections answered and closed
    std::thread m_thread;
};
