#include "support/loopback_server.h"

#include <algorithm>

namespace {

const int kMaxRequestBytes = 64 * 1024;
const DWORD kRequestWaitMs = 5000;

bool SendAll(SOCKET connection, const std::string& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int chunk = static_cast<int>(std::min<size_t>(bytes.size() - sent, 1 << 20));
        const int n = send(connection, bytes.data() + sent, chunk, 0);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// Reads up to the request's empty line; a silent or vanished client ends it early.
std::string ReadRequest(SOCKET connection)
{
    const DWORD timeout = kRequestWaitMs;
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string request;
    char c;
    while (request.size() < kMaxRequestBytes && recv(connection, &c, 1, 0) == 1) {
        request += c;
        if (request.size() >= 4 && request.compare(request.size() - 4, 4, "\r\n\r\n") == 0)
            break;
    }
    return request;
}

}  // namespace

CLoopbackServer::CLoopbackServer(Responder responder, u_short port) : m_responder(std::move(responder))
{
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    int size = sizeof address;
    if (m_listener == INVALID_SOCKET ||
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 8) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (m_listener != INVALID_SOCKET)
            closesocket(m_listener);
        m_listener = INVALID_SOCKET;
        return;
    }
    m_nPort = ntohs(address.sin_port);
    m_thread = std::thread(&CLoopbackServer::Run, this);
}

CLoopbackServer::~CLoopbackServer()
{
    SetEvent(m_hStop);
    if (m_thread.joinable())
        m_thread.join();
    if (m_listener != INVALID_SOCKET)
        closesocket(m_listener);
    CloseHandle(m_hStop);
}

std::string CLoopbackServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_nPort) + path;
}

std::vector<std::string> CLoopbackServer::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

bool CLoopbackServer::WaitForServed(size_t count, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    do {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_nServed >= count)
                return true;
        }
        Sleep(10);
    } while (GetTickCount() - start < timeoutMs);
    return false;
}

void CLoopbackServer::Run()
{
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(m_hStop, 0) == WAIT_TIMEOUT && GetTickCount() - start < kLifetimeMs) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait = {0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) != 1)
            continue;
        const SOCKET connection = accept(m_listener, nullptr, nullptr);
        if (connection == INVALID_SOCKET)
            continue;
        Serve(connection);
    }
}

void CLoopbackServer::Serve(SOCKET connection)
{
    std::string request;
    if (m_bReset) {
        const linger abort = {1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
        closesocket(connection);
        Record(request);
    } else {
        request = ReadRequest(connection);
        Record(request);
        const LoopbackReply reply = m_responder(request);
        SendAll(connection, reply.bytes);
        if (reply.holdMs && WaitForSingleObject(m_hStop, reply.holdMs) == WAIT_TIMEOUT)
            SendAll(connection, reply.tail);
        shutdown(connection, SD_SEND);
        closesocket(connection);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_nServed;
}

void CLoopbackServer::Record(const std::string& request)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.push_back(request);
}
