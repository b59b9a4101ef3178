#include "net/http_download.h"

#include "framework/file.h"
#include "framework/url_parse.h"
#include "net/decimal_text.h"
#include "net/http_socket.h"
#include "net/url_port.h"

namespace {

const int kChunkSize = 1024;
const int kReceiveTimeoutMs = 5000;
// The client speaks plain HTTP only, so a URL without a port goes to 80 whatever its scheme.
const int kDefaultPort = 80;

int32_t Report(CHttpCallBack& callBack, HttpNotifyProc notify, int32_t status)
{
    callBack.m_nStatus = status;
    return notify(&callBack);
}

}  // namespace

int32_t HttpDownloadFile(std::string url, std::string localPath, HttpNotifyProc notify,
                         HWND hWnd, int32_t nGeneration)
{
    CHttpSocket http;

    DWORD serviceType = 0;
    std::string host;
    std::string path;
    INTERNET_PORT crackedPort = 0;
    AfxParseURL(url.c_str(), serviceType, host, path, crackedPort);
    const int writtenPort = WrittenPort(url.c_str());
    const int port = writtenPort > 0 ? writtenPort : kDefaultPort;
    // The Host line names the port only when the URL does, so ordinary requests stay as they were.
    const std::string hostField = writtenPort > 0 ? host + ":" + std::to_string(writtenPort) : host;

    int32_t requestLength = 0;
    const bool requestBuilt =
        http.BuildRequest(hostField.c_str(), path.c_str(), &requestLength, nullptr, nullptr, 0, 0) != nullptr;
    if (requestBuilt)
        http.OpenSocket();

    CHttpCallBack callBack;
    callBack.m_strUrl = url;
    callBack.m_hWndNotify = hWnd;
    callBack.m_nGeneration = nGeneration;

    if (!Report(callBack, notify, HTTPCB_STARTED))
        return 0;
    if (!requestBuilt) {
        Report(callBack, notify, HTTPCB_SEND_FAILED);
        return 0;
    }
    if (!http.ConnectHost(host.c_str(), port)) {
        Report(callBack, notify, HTTPCB_CONNECT_FAILED);
        return 0;
    }
    // A server that accepts and then says nothing must not hold the worker for ever.
    http.SetSocketTimeout(kReceiveTimeoutMs, 0);
    http.SetSocketTimeout(kReceiveTimeoutMs, 1);
    if (!http.SendAndReadHeader(nullptr, 0)) {
        Report(callBack, notify, HTTPCB_SEND_FAILED);
        return 0;
    }

    char lengthText[20];
    int32_t length = 0;
    if (!http.HeaderComplete() || http.StatusCode() != 200 ||
        http.FindHeaderField("Content-Length", lengthText, sizeof lengthText) < 0 ||
        !ParseContentLength(lengthText, length)) {
        Report(callBack, notify, HTTPCB_BAD_RESPONSE);
        return 0;
    }
    callBack.m_nBytes = length;
    Report(callBack, notify, HTTPCB_LENGTH);

    CFile file;
    if (!file.Open(localPath.c_str(), CFile::modeCreate | CFile::modeWrite)) {
        Report(callBack, notify, HTTPCB_FILE_FAILED);
        return 0;
    }

    int32_t result = 1;
    int32_t total = 0;
    char chunk[kChunkSize];
    while (total < length) {
        // Bytes past the announced length are not part of this file.
        const int wanted = length - total < kChunkSize ? length - total : kChunkSize;
        const int received = http.ReceiveChunk(chunk, wanted);
        if (received <= 0) {
            // An error, a time-out or a close before the announced length: never a short
            // file reported as complete.
            if (!Report(callBack, notify, HTTPCB_RECEIVE_FAILED))
                return 0;
            result = 0;
            break;
        }
        if (!file.Write(chunk, static_cast<UINT>(received))) {
            Report(callBack, notify, HTTPCB_FILE_FAILED);
            return 0;
        }
        total += received;
        callBack.m_nBytes = total;
        if (!Report(callBack, notify, HTTPCB_PROGRESS))
            return 0;
    }

    file.Close();
    if (!Report(callBack, notify, HTTPCB_FILE_DONE))
        return 0;
    return result;
}
