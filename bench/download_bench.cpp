// Measures the download client's own cost: a 64 MiB body fetched through HttpDownloadFile
// with the update worker's notices posted to a window that this thread pumps, against a
// bare Winsock loop with the same 1024-byte receives that only writes the file. Reads the
// server's base URL from TVRL_HTTP_BASE (scripts/with-httpd); the body is /body.bin.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "net/http_download.h"
#include "net/url_port.h"
#include "notice_recorder.h"
#include "support/message_pump.h"
#include "support/winsock_session.h"
#include "update/update_notice.h"

namespace {

const int kRounds = 5;
const int kChunkSize = 1024;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency.QuadPart;
}

struct ClientRun {
    std::string url;
    std::string path;
    HWND hWnd;
    int32_t result;
};

DWORD WINAPI RunClient(LPVOID param)
{
    auto* run = static_cast<ClientRun*>(param);
    run->result = HttpDownloadFile(run->url, run->path, PostUpdateNotice, run->hWnd, g_nWorkerGeneration);
    return 0;
}

// Seconds for one download through the client, or a negative value on failure.
double TimeClient(const std::string& url, const std::string& path, int32_t& largestBacklog, size_t& progressPosted)
{
    CNoticeRecorder window;
    ClientRun run = {url, path, window.Window(), 0};
    const double start = Seconds();
    HANDLE thread = CreateThread(nullptr, 0, RunClient, &run, 0, nullptr);
    PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 600000);
    const double elapsed = Seconds() - start;
    CloseHandle(thread);
    PumpUntil([] { return PendingUpdateNotices() == 0; }, 60000);
    largestBacklog = std::max(largestBacklog, window.LargestBacklog());
    progressPosted = 0;
    for (const RecordedNotice& notice : window.Notices())
        progressPosted += notice.status == HTTPCB_PROGRESS;
    return run.result == 1 ? elapsed : -1;
}

struct BareRun {
    int port;
    std::string path;
    int64_t received;
};

// The floor: send the request, receive 1024 bytes at a time until the server closes,
// write each piece.
DWORD WINAPI RunBareLoop(LPVOID param)
{
    auto* run = static_cast<BareRun*>(param);
    const std::string request = "GET /body.bin HTTP/1.1\r\nHost:127.0.0.1:" + std::to_string(run->port) + "\r\n\r\n";
    HANDLE file = CreateFileA(run->path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(run->port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    run->received = 0;
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        send(s, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size())) {
        char chunk[kChunkSize];
        for (int n; (n = recv(s, chunk, kChunkSize, 0)) > 0;) {
            DWORD written = 0;
            WriteFile(file, chunk, n, &written, nullptr);
            run->received += n;
        }
    }
    closesocket(s);
    CloseHandle(file);
    return 0;
}

// Seconds for the same bytes through the bare loop, on a thread of its own like the
// client's, while this thread pumps the same way.
double TimeBareLoop(int port, const std::string& path, int64_t& received)
{
    BareRun run = {port, path, 0};
    const double start = Seconds();
    HANDLE thread = CreateThread(nullptr, 0, RunBareLoop, &run, 0, nullptr);
    PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 600000);
    const double elapsed = Seconds() - start;
    CloseHandle(thread);
    received = run.received;
    return elapsed;
}

}  // namespace

int main()
{
    const char* base = std::getenv("TVRL_HTTP_BASE");
    const char* sizeText = std::getenv("TVRL_BODY_BYTES");
    if (!base || !sizeText) {
        std::fprintf(stderr, "download_bench: run through bench/download\n");
        return 2;
    }
    const double mebibytes = std::atof(sizeText) / (1024.0 * 1024.0);
    CWinsockSession winsock;

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "tvrl_bench_body.bin";
    const std::string url = std::string(base) + "/body.bin";
    const int port = WrittenPort(base);

    double client = 1e9;
    double bare = 1e9;
    int32_t largestBacklog = 0;
    size_t progressPosted = 0;
    int64_t bareBytes = 0;
    // Alternate the two so that both meet the same machine; keep each one's best round.
    for (int round = 0; round < kRounds; ++round) {
        const double c = TimeClient(url, path, largestBacklog, progressPosted);
        if (c < 0) {
            std::fprintf(stderr, "download_bench: the client's download failed\n");
            return 1;
        }
        client = std::min(client, c);
        bare = std::min(bare, TimeBareLoop(port, path, bareBytes));
    }
    DeleteFileA(path.c_str());

    std::printf("HttpDownloadFile + posted notices: %8.1f MiB/s\n", mebibytes / client);
    std::printf("bare Winsock loop (1024-byte recv): %7.1f MiB/s  (%lld bytes with header)\n", mebibytes / bare,
                static_cast<long long>(bareBytes));
    std::printf("ratio client / bare loop:          %8.3f\n", bare / client);
    std::printf("largest posted-notice backlog:     %8d  (progress notices posted per download: %u)\n",
                largestBacklog, static_cast<unsigned>(progressPosted));
    return 0;
}
