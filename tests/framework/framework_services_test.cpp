// The framework's file object, worker-thread start and application-captioned message box.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "framework/file.h"
#include "framework/message_box.h"
#include "framework/thread.h"
#include "framework/win_app.h"
#include "support/message_box_answerer.h"
#include "support/message_pump.h"

namespace {

class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name + std::to_string(GetCurrentProcessId());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(CFile, CreateTruncatesWritesAndClosesOnDestruction)
{
    const std::string path = TempPath("tvrl_cfile_");
    std::ofstream(path, std::ios::binary) << "a much longer old content";
    {
        CFile file;
        ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
        EXPECT_EQ(ReadFile(path), "");
        EXPECT_TRUE(file.Write("new", 3));
        // No sharing while open.
        HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other, INVALID_HANDLE_VALUE);
        if (other != INVALID_HANDLE_VALUE)
            CloseHandle(other);
    }
    EXPECT_EQ(ReadFile(path), "new");
    DeleteFileA(path.c_str());
}

TEST(CFile, FailuresAreReportedNotThrown)
{
    CFile file;
    EXPECT_FALSE(file.Write("x", 1));
    EXPECT_FALSE(file.Open((TempPath("tvrl_cfile_") + "\\no\\such\\folder").c_str(), CFile::modeCreate | CFile::modeWrite));
    EXPECT_FALSE(file.Write("x", 1));
}

TEST(AfxBeginThread, RunsTheProcedureWithItsParameterAtNormalPriority)
{
    struct Seen {
        LONG ran;
        int priority;
    } seen = {0, -99};
    ASSERT_TRUE(AfxBeginThread(
        [](LPVOID p) -> UINT {
            auto* s = static_cast<Seen*>(p);
            s->priority = GetThreadPriority(GetCurrentThread());
            InterlockedExchange(&s->ran, 1);
            return 0;
        },
        &seen));
    ASSERT_TRUE(PumpUntil([&] { return InterlockedCompareExchange(&seen.ran, 0, 0) == 1; }, 10000));
    EXPECT_EQ(seen.priority, THREAD_PRIORITY_NORMAL);
}

TEST(AfxMessageBox, CaptionIsTheExecutableName)
{
    CTestApp app;
    app.AttachModule(GetModuleHandleA(nullptr));
    ASSERT_EQ(app.m_strAppName, "framework_services_test");
    CMessageBoxAnswerer answerer(app.m_strAppName);
    EXPECT_EQ(AfxMessageBox("保存升级文件错误，请采用管理员模式运行"), IDOK);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"保存升级文件错误，请采用管理员模式运行"});
}

}  // namespace
