#pragma once
// One blocking TCP connection to a web server: builds the GET request, sends it, reads
// the response header byte by byte (so no body byte is taken with it) and receives the
// body in chunks. Serves one request; everything runs on the caller's thread.
#include <winsock2.h>
#include <windows.h>

#include <cstdint>

class CHttpSocket {
public:
    // Headers behind proxies and CDNs often pass 1 KiB; 16 KiB holds any sane one.
    static const int kHeaderCapacity = 16 * 1024;
    static const int kRequestCapacity = 1024;

    CHttpSocket() = default;
    virtual ~CHttpSocket();
    CHttpSocket(const CHttpSocket&) = delete;
    CHttpSocket& operator=(const CHttpSocket&) = delete;

    int OpenSocket();
    // An empty host fails at once: looking up "" would resolve this very machine.
    int ConnectHost(const char* host, int port);
    // Returns m_szRequest, or null (length 0, buffer empty) when the text would not fit.
    char* BuildRequest(const char* host, const char* path, int32_t* lengthOut,
                       const char* cookie, const char* referer, int rangeFrom, int rangeTo);
    // Sends all of the request (continuing partial sends), then reads the header. A send
    // failure shows the "send()" message box and gives 0.
    int SendAndReadHeader(const char* data, int length);
    const char* ReadResponseHeader(int32_t* lengthOut);
    // True once a complete header (ending in CR LF CR LF) has been read.
    bool HeaderComplete() const;
    int NextHeaderLine(char* buffer, int max);
    int StatusCode() const;
    int FindHeaderField(const char* name, char* buffer, int size) const;
    int ReceiveChunk(char* buffer, int size);
    int SetSocketTimeout(int milliseconds, int which);
    int CloseConnection();

    char m_szRequest[kRequestCapacity] = {};
    char m_szHeader[kHeaderCapacity] = {};
    int32_t m_nPort = 80;
    char m_szAddress[256] = {};
    int32_t m_bIsConnected = 0;
    SOCKET m_hSocket = 0;
    HOSTENT* m_pHostEntry = nullptr;  // the resolver's record, not owned
    int32_t m_nLinePos = 0;
    int32_t m_bHeaderRead = 0;
    int32_t m_nHeaderLength = -1;
};
