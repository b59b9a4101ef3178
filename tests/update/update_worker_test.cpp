// The update worker against a scripted loopback update server: when it finds an update,
// the notices its window receives, and how a stale worker or a vanished window stops it.
#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/globals.h"
#include "net/http_callback.h"
#include "notice_recorder.h"
#include "support/loopback_server.h"
#include "support/message_pump.h"
#include "update/update_notice.h"
#include "update/update_worker.h"

namespace {

const DWORD kWaitMs = 30000;
const UINT kWorkerFailed = static_cast<UINT>(-1);

std::string Ok(const std::string& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

DWORD WINAPI RunUpdateWorkerProc(LPVOID param) { return UpdateWorkerProc(param); }

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// An update server on loopback whose files the test sets, and a local folder of its own.
class UpdateWorkerTest : public testing::Test {
protected:
    UpdateWorkerTest()
        : m_server([this](const std::string& request) { return Reply(request); })
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_server.Listening());
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "tvrl_update_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_folder.c_str(), nullptr);
        g_strUpdateUrl = m_server.Url("/up");
        g_strLocalDir = m_folder;
        m_files["/up/updatetools.exe"] = {Ok(std::string(3000, 'u'))};
        m_files["/up/TVRL.exe"] = {Ok(std::string(5000, 'p'))};
    }

    void TearDown() override
    {
        for (const char* name : {"version.ini", "update.exe", "QUILB.update"})
            DeleteFileA(Local(name).c_str());
        RemoveDirectoryA(m_folder.c_str());
        g_strUpdateUrl.clear();
        g_strLocalDir.clear();
    }

    LoopbackReply Reply(const std::string& request)
    {
        const size_t end = request.find(' ', 4);
        const std::string path = request.size() > 4 && end != std::string::npos ? request.substr(4, end - 4) : "";
        const auto file = m_files.find(path);
        return file != m_files.end() ? file->second : LoopbackReply{"HTTP/1.1 404 Not Found\r\n\r\n"};
    }

    std::string Local(const char* name) const { return m_folder + name; }

    // Runs UpdateWorkerProc for the newest generation on a thread of its own while this
    // thread pumps the window's messages; returns its exit code.
    UINT RunWorker(BOOL checkOnly)
    {
        auto* param = new UpdateWorkerParam{m_recorder.Window(), NextGeneration(), checkOnly};
        HANDLE thread = CreateThread(nullptr, 0, RunUpdateWorkerProc, param, 0, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, kWaitMs));
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        CloseHandle(thread);
        PumpUntil([] { return PendingUpdateNotices() == 0; }, kWaitMs);
        return code;
    }

    static int32_t NextGeneration()
    {
        g_nWorkerGeneration = g_nWorkerGeneration + 1;
        return g_nWorkerGeneration;
    }

    std::vector<std::string> RequestedPaths() const
    {
        std::vector<std::string> paths;
        for (const std::string& request : m_server.Requests())
            paths.push_back(request.substr(0, request.find(" HTTP/")));
        return paths;
    }

    std::map<std::string, LoopbackReply> m_files;
    CLoopbackServer m_server;
    CNoticeRecorder m_recorder;
    std::string m_folder;
};

struct DescriptorCase {
    const char* name;
    std::string descriptor;
    bool update;
};

void PrintTo(const DescriptorCase& c, std::ostream* os) { *os << c.name; }

class DescriptorTest : public UpdateWorkerTest, public testing::WithParamInterface<DescriptorCase> {};

TEST_P(DescriptorTest, AnnouncesOnlyANewerId)
{
    const DescriptorCase& c = GetParam();
    m_files["/up/version.txt"] = {Ok(c.descriptor)};

    EXPECT_EQ(RunWorker(TRUE), kWorkerFailed);

    std::vector<int32_t> expected = {HTTPCB_STARTED, HTTPCB_LENGTH, HTTPCB_PROGRESS, HTTPCB_FILE_DONE};
    if (c.update)
        expected.push_back(HTTPCB_NEW_VERSION);
    EXPECT_EQ(m_recorder.StatusesWithProgressRunsMerged(), expected);
    EXPECT_EQ(ReadFile(Local("version.ini")), c.descriptor);
    // A check-only worker ends after its announcement and fetches nothing more.
    EXPECT_EQ(RequestedPaths(), std::vector<std::string>{"GET /up/version.txt"});
    EXPECT_FALSE(FileExists(Local("update.exe")));
}

INSTANTIATE_TEST_SUITE_P(
    Ids, DescriptorTest,
    testing::Values(DescriptorCase{"equal", "[update]\r\nid=1\r\n", false},
                    DescriptorCase{"newer", "[update]\r\nid=2\r\n", true},
                    DescriptorCase{"digits_then_letters", "[update]\r\nid=2abc\r\n", true},
                    DescriptorCase{"negative", "[update]\r\nid=-5\r\n", false},
                    DescriptorCase{"letters", "[update]\r\nid=abc\r\n", false},
                    DescriptorCase{"empty", "[update]\r\nid=\r\n", false},
                    DescriptorCase{"other_section", "[other]\r\nid=2\r\n", false},
                    DescriptorCase{"other_key", "[update]\r\nversion=2\r\n", false},
                    DescriptorCase{"upper_case_names", "[UPDATE]\r\nID=3\r\n", true}),
    [](const testing::TestParamInfo<DescriptorCase>& info) { return std::string(info.param.name); });

TEST_F(UpdateWorkerTest, FullRunFetchesAllFilesAndEndsWithAllDone)
{
    m_files["/up/version.txt"] = {Ok("[update]\r\nid=2\r\n")};

    ASSERT_TRUE(StartUpdateWorker(m_recorder.Window(), FALSE));
    const int32_t generation = g_nWorkerGeneration;
    ASSERT_TRUE(PumpUntil([&] { return m_recorder.Seen(HTTPCB_ALL_DONE); }, kWaitMs));
    ASSERT_TRUE(PumpUntil([] { return PendingUpdateNotices() == 0; }, kWaitMs));

    const std::vector<int32_t> file = {HTTPCB_STARTED, HTTPCB_LENGTH, HTTPCB_PROGRESS, HTTPCB_FILE_DONE};
    std::vector<int32_t> expected = file;
    expected.push_back(HTTPCB_NEW_VERSION);
    expected.insert(expected.end(), file.begin(), file.end());
    expected.insert(expected.end(), file.begin(), file.end());
    expected.push_back(HTTPCB_ALL_DONE);
    EXPECT_EQ(m_recorder.StatusesWithProgressRunsMerged(), expected);

    const std::vector<std::string> urls = {g_strUpdateUrl + "/version.txt", g_strUpdateUrl + "/updatetools.exe",
                                           g_strUpdateUrl + "/TVRL.exe"};
    size_t started = 0;
    int32_t lastProgress = -1;
    for (const RecordedNotice& notice : m_recorder.Notices()) {
        EXPECT_EQ(notice.hWnd, m_recorder.Window());
        EXPECT_EQ(notice.generation, generation);
        if (notice.status == HTTPCB_STARTED) {
            ASSERT_LT(started, urls.size());
            EXPECT_EQ(notice.url, urls[started++]);
        }
        if (notice.status == HTTPCB_PROGRESS)
            lastProgress = notice.bytes;
        // However progress was coalesced, the last 11 before 12 carries the final total.
        if (notice.status == HTTPCB_FILE_DONE) {
            EXPECT_EQ(lastProgress, notice.bytes);
        }
        if (notice.status == HTTPCB_NEW_VERSION || notice.status == HTTPCB_ALL_DONE) {
            EXPECT_EQ(notice.url, "");
            EXPECT_EQ(notice.bytes, 0);
        }
    }
    EXPECT_EQ(ReadFile(Local("update.exe")), std::string(3000, 'u'));
    EXPECT_EQ(ReadFile(Local("QUILB.update")), std::string(5000, 'p'));
    EXPECT_EQ(RequestedPaths(), (std::vector<std::string>{"GET /up/version.txt", "GET /up/updatetools.exe",
                                                          "GET /up/TVRL.exe"}));
}

TEST_F(UpdateWorkerTest, FailedDownloadEndsTheWorkerAfterItsStatus)
{
    m_files["/up/version.txt"] = {Ok("[update]\r\nid=2\r\n")};
    m_files.erase("/up/TVRL.exe");

    EXPECT_EQ(RunWorker(FALSE), kWorkerFailed);
    const std::vector<int32_t> statuses = m_recorder.StatusesWithProgressRunsMerged();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), HTTPCB_BAD_RESPONSE);
    EXPECT_FALSE(m_recorder.Seen(HTTPCB_ALL_DONE));
}

// The package arrives in two parts with a pause between, so the test can act while the
// worker waits for the second part.
class InterruptedWorkerTest : public UpdateWorkerTest {
protected:
    void SetUp() override
    {
        UpdateWorkerTest::SetUp();
        m_files["/up/version.txt"] = {Ok("[update]\r\nid=2\r\n")};
        const std::string package = Ok(std::string(8000, 'p'));
        const size_t split = package.size() - 6000;
        m_files["/up/TVRL.exe"] = {package.substr(0, split), 1500, package.substr(split)};
    }

    // Runs `act` at the first progress notice of the package.
    void OnPackageProgress(std::function<void()> act)
    {
        m_recorder.m_onNotice = [this, act](const RecordedNotice& notice) {
            if (notice.status == HTTPCB_PROGRESS && notice.url == g_strUpdateUrl + "/TVRL.exe" && !m_bActed) {
                m_bActed = true;
                act();
            }
        };
    }

    size_t NoticesAfterAct() const
    {
        size_t count = 0;
        bool acted = false;
        for (const RecordedNotice& notice : m_recorder.Notices()) {
            if (acted)
                ++count;
            acted = acted || (notice.status == HTTPCB_PROGRESS && notice.url == g_strUpdateUrl + "/TVRL.exe");
        }
        return count;
    }

    bool m_bActed = false;
};

TEST_F(InterruptedWorkerTest, StaleWorkerStopsAtItsNextNotice)
{
    OnPackageProgress([] { g_nWorkerGeneration = g_nWorkerGeneration + 1; });

    EXPECT_EQ(RunWorker(FALSE), kWorkerFailed);
    EXPECT_TRUE(m_bActed);
    EXPECT_EQ(NoticesAfterAct(), 0u);
    EXPECT_FALSE(m_recorder.Seen(HTTPCB_ALL_DONE));
    EXPECT_LT(ReadFile(Local("QUILB.update")).size(), 8000u);
    EXPECT_EQ(PendingUpdateNotices(), 0);
}

TEST_F(InterruptedWorkerTest, DestroyedWindowStopsTheWorker)
{
    OnPackageProgress([this] { m_recorder.Destroy(); });

    const size_t before = PendingUpdateNotices();
    EXPECT_EQ(RunWorker(FALSE), kWorkerFailed);
    EXPECT_TRUE(m_bActed);
    EXPECT_FALSE(m_recorder.Seen(HTTPCB_ALL_DONE));
    EXPECT_LT(ReadFile(Local("QUILB.update")).size(), 8000u);
    EXPECT_EQ(static_cast<size_t>(PendingUpdateNotices()), before);
}

}  // namespace
