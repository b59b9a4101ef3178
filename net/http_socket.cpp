#include "net/http_socket.h"

#include <cstdio>
#include <cstring>

#include "net/http_header.h"
#include "net/http_request.h"

CHttpSocket::~CHttpSocket() { CloseConnection(); }

int CHttpSocket::OpenSocket()
{
    if (m_bIsConnected)
        return 0;
    const PROTOENT* tcp = getprotobyname("tcp");
    m_hSocket = socket(AF_INET, SOCK_STREAM, tcp ? tcp->p_proto : IPPROTO_TCP);
    return m_hSocket != INVALID_SOCKET ? 1 : 0;
}

int CHttpSocket::ConnectHost(const char* host, int port)
{
    if (!host || !*host)
        return 0;
    if (m_bIsConnected)
        CloseConnection();
    m_nPort = port;
    m_pHostEntry = gethostbyname(host);
    if (!m_pHostEntry || m_pHostEntry->h_addrtype != AF_INET || !m_pHostEntry->h_addr_list[0])
        return 0;
    const unsigned char* ip = reinterpret_cast<const unsigned char*>(m_pHostEntry->h_addr_list[0]);
    std::snprintf(m_szAddress, sizeof m_szAddress, "%d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]);

    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    std::memcpy(&address.sin_addr, ip, 4);
    if (m_hSocket == 0 || m_hSocket == INVALID_SOCKET ||
        connect(m_hSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return 0;
    m_bIsConnected = 1;
    return 1;
}

char* CHttpSocket::BuildRequest(const char* host, const char* path, int32_t* lengthOut,
                                const char* cookie, const char* referer, int rangeFrom, int rangeTo)
{
    std::memset(m_szRequest, 0, sizeof m_szRequest);
    const int length = BuildHttpRequest(m_szRequest, sizeof m_szRequest, host, path, cookie,
                                        referer, rangeFrom, rangeTo);
    if (lengthOut)
        *lengthOut = length < 0 ? 0 : length;
    return length < 0 ? nullptr : m_szRequest;
}

int CHttpSocket::SendAndReadHeader(const char* data, int length)
{
    if (!m_bIsConnected)
        return 0;
    if (!data)
        data = m_szRequest;
    if (length == 0)
        length = static_cast<int>(strnlen(m_szRequest, sizeof m_szRequest));

    for (int sent = 0; sent < length;) {
        const int n = send(m_hSocket, data + sent, length - sent, 0);
        if (n == SOCKET_ERROR || n == 0) {
            MessageBoxA(nullptr, "send()函数执行失败!", "错误", MB_OK);
            return 0;
        }
        sent += n;
    }
    ReadResponseHeader(nullptr);
    return 1;
}

const char* CHttpSocket::ReadResponseHeader(int32_t* lengthOut)
{
    if (!m_bHeaderRead) {
        int stored = 0;
        while (stored < kHeaderCapacity && !EndsHeader(m_szHeader, stored)) {
            if (recv(m_hSocket, m_szHeader + stored, 1, 0) != 1)
                break;
            ++stored;
        }
        m_nHeaderLength = stored;
        m_bHeaderRead = 1;
    }
    if (lengthOut)
        *lengthOut = m_nHeaderLength;
    return m_szHeader;
}

bool CHttpSocket::HeaderComplete() const
{
    return m_bHeaderRead && EndsHeader(m_szHeader, m_nHeaderLength);
}

int CHttpSocket::NextHeaderLine(char* buffer, int max)
{
    int pos = m_nLinePos;
    const int copied = ::NextHeaderLine(m_szHeader, m_nHeaderLength, pos, buffer, max);
    m_nLinePos = pos;
    return copied;
}

int CHttpSocket::StatusCode() const
{
    return m_bHeaderRead ? StatusCodeOf(m_szHeader, m_nHeaderLength) : -1;
}

int CHttpSocket::FindHeaderField(const char* name, char* buffer, int size) const
{
    if (!m_bHeaderRead) {
        if (size > 0)
            buffer[0] = '\0';
        return -1;
    }
    return ::FindHeaderField(m_szHeader, m_nHeaderLength, name, buffer, size);
}

int CHttpSocket::ReceiveChunk(char* buffer, int size)
{
    if (!m_bIsConnected)
        return 0;
    const int n = recv(m_hSocket, buffer, size, 0);
    if (n <= 0)
        CloseConnection();
    return n;
}

int CHttpSocket::SetSocketTimeout(int milliseconds, int which)
{
    const DWORD value = static_cast<DWORD>(milliseconds);
    return setsockopt(m_hSocket, SOL_SOCKET, which == 0 ? SO_RCVTIMEO : SO_SNDTIMEO,
                      reinterpret_cast<const char*>(&value), sizeof value) == 0 ? 1 : 0;
}

int CHttpSocket::CloseConnection()
{
    if (m_hSocket != 0 && m_hSocket != INVALID_SOCKET) {
        if (closesocket(m_hSocket) == SOCKET_ERROR)
            return 0;
    }
    m_hSocket = 0;
    m_bIsConnected = 0;
    return 1;
}
