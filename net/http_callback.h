#pragma once
// The notification record of a download and the function type that receives it.
#include <windows.h>

#include <cstdint>
#include <string>

enum : int32_t {
    HTTPCB_CONNECT_FAILED = 1,   // name lookup or connect failed
    HTTPCB_FILE_FAILED = 2,      // the local file cannot be created or written
    HTTPCB_BAD_RESPONSE = 3,     // not 200, no usable Content-Length, or a header too long
    HTTPCB_SEND_FAILED = 4,      // the request could not be built or sent
    HTTPCB_RECEIVE_FAILED = 5,   // the body failed, timed out or ended early
    HTTPCB_STARTED = 6,          // the download begins
    HTTPCB_LENGTH = 7,           // m_nBytes holds the body length
    HTTPCB_NEW_VERSION = 10,     // (update worker) a newer version is announced
    HTTPCB_PROGRESS = 11,        // m_nBytes holds the bytes written so far
    HTTPCB_FILE_DONE = 12,       // the local file has been closed
    HTTPCB_ALL_DONE = 13,        // (update worker) every update file is in place
};

// Plain record; the virtual destructor lets whoever receives a heap copy delete it.
class CHttpCallBack {
public:
    CHttpCallBack() = default;
    CHttpCallBack(const CHttpCallBack&) = default;
    CHttpCallBack& operator=(const CHttpCallBack&) = default;
    virtual ~CHttpCallBack() = default;

    HWND m_hWndNotify = nullptr;
    int32_t m_nGeneration = 0;
    int32_t m_nStatus = HTTPCB_FILE_DONE;
    std::string m_strUrl;
    int32_t m_nSpare = 0;
    int32_t m_nBytes = 0;
};

// Told about every step of a download; the record is valid during the call only.
// Nonzero goes on, 0 stops where the download heeds the answer.
typedef int32_t (*HttpNotifyProc)(CHttpCallBack* pCallBack);
