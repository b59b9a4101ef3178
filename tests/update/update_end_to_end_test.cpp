// A full update run against a real web server (busybox httpd, started on loopback by
// scripts/with-httpd): the worker fetches the descriptor, the updater and the package,
// and every local file equals the file served.
#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "notice_recorder.h"
#include "support/host_path.h"
#include "support/message_pump.h"
#include "support/winsock_session.h"
#include "update/update_notice.h"
#include "update/update_worker.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

TEST(UpdateEndToEnd, WorkerFetchesEveryFileFromARealServer)
{
    const std::string base = Environment("TVRL_HTTP_BASE");
    const std::string root = HostPathToWindows(Environment("TVRL_UPDATE_ROOT"));
    ASSERT_FALSE(base.empty()) << "run through scripts/with-httpd";
    CWinsockSession winsock;
    ASSERT_TRUE(winsock.Started());

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "tvrl_e2e_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    g_strUpdateUrl = base;
    g_strLocalDir = folder;

    CNoticeRecorder recorder;
    ASSERT_TRUE(StartUpdateWorker(recorder.Window(), FALSE));
    const bool ended = PumpUntil(
        [&] {
            const std::vector<RecordedNotice>& notices = recorder.Notices();
            return !notices.empty() && notices.back().status != HTTPCB_PROGRESS &&
                   (notices.back().status <= HTTPCB_RECEIVE_FAILED || notices.back().status == HTTPCB_ALL_DONE);
        },
        60000);
    ASSERT_TRUE(ended);
    PumpUntil([] { return PendingUpdateNotices() == 0; }, 10000);

    EXPECT_EQ(recorder.Notices().back().status, HTTPCB_ALL_DONE);
    EXPECT_TRUE(recorder.Seen(HTTPCB_NEW_VERSION));
    const struct {
        const char* served;
        const char* local;
    } files[] = {{"version.txt", "version.ini"}, {"updatetools.exe", "update.exe"}, {"TVRL.exe", "QUILB.update"}};
    for (const auto& file : files) {
        const std::string served = ReadFile(root + "\\" + file.served);
        EXPECT_FALSE(served.empty()) << file.served;
        EXPECT_TRUE(ReadFile(folder + file.local) == served) << file.local << " differs from " << file.served;
        DeleteFileA((folder + file.local).c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
