// Downloads against a scripted loopback server: the statuses a download reports, its
// result, the file it leaves and the exact request the server received.
#include <winsock2.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "net/http_download.h"
#include "support/loopback_server.h"
#include "support/message_box_answerer.h"

namespace {

struct Notice {
    int32_t status;
    int32_t bytes;
    bool operator==(const Notice& other) const { return status == other.status && bytes == other.bytes; }
};

std::ostream& operator<<(std::ostream& os, const Notice& n) { return os << n.status << "(" << n.bytes << ")"; }

std::vector<Notice> g_notices;
int32_t g_stopAtStatus = -1;

int32_t RecordNotice(CHttpCallBack* callBack)
{
    g_notices.push_back({callBack->m_nStatus, callBack->m_nBytes});
    return callBack->m_nStatus == g_stopAtStatus ? 0 : 1;
}

const char kOldContent[] = "old content";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

// Each test gets a local file that already holds kOldContent, so truncation shows.
class HttpDownloadTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_notices.clear();
        g_stopAtStatus = -1;
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + "tvrl_download_" + std::to_string(GetCurrentProcessId()) + ".bin";
        WriteFile(m_path, kOldContent);
    }
    void TearDown() override { DeleteFileA(m_path.c_str()); }

    std::string m_path;
};

std::string ExpectedRequest(const std::string& path, const std::string& hostField)
{
    return "GET " + path + " HTTP/1.1\r\nHost:" + hostField +
           "\r\nAccept:*/*\r\nUser-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n"
           "Connection:Keep-Alive\r\n\r\n";
}

struct ReplyCase {
    const char* name;
    std::string reply;
    std::vector<Notice> notices;
    int32_t result;
    std::string file;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class HttpDownloadReplyTest : public HttpDownloadTest, public testing::WithParamInterface<ReplyCase> {};

TEST_P(HttpDownloadReplyTest, ReportsAndWritesWhatTheReplyAllows)
{
    const ReplyCase& c = GetParam();
    CLoopbackServer server([&](const std::string&) { return LoopbackReply{c.reply}; });
    ASSERT_TRUE(server.Listening());

    const int32_t result = HttpDownloadFile(server.Url("/dir/file.bin?v=1"), m_path, RecordNotice, nullptr, 7);

    EXPECT_EQ(result, c.result);
    EXPECT_EQ(g_notices, c.notices);
    EXPECT_EQ(ReadFile(m_path), c.file);
    ASSERT_TRUE(server.WaitForServed(1, 10000));
    EXPECT_EQ(server.Requests(),
              std::vector<std::string>{ExpectedRequest("/dir/file.bin?v=1", "127.0.0.1:" + std::to_string(server.Port()))});
}

const std::string kOk = "HTTP/1.1 200 OK\r\n";
const std::string kLongField = "X-Padding: " + std::string(4000, 'p') + "\r\n";
const std::string kBody3000(3000, 'b');

INSTANTIATE_TEST_SUITE_P(
    Replies, HttpDownloadReplyTest,
    testing::Values(
        ReplyCase{"http11", kOk + "Content-Length: 5\r\n\r\nhello", {{6, 0}, {7, 5}, {11, 5}, {12, 5}}, 1, "hello"},
        ReplyCase{"http10", "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello",
                  {{6, 0}, {7, 5}, {11, 5}, {12, 5}}, 1, "hello"},
        ReplyCase{"lower_case_unspaced", kOk + "content-length:5\r\n\r\nhello",
                  {{6, 0}, {7, 5}, {11, 5}, {12, 5}}, 1, "hello"},
        ReplyCase{"x_content_length_ignored", kOk + "X-Content-Length: 99\r\nContent-Length: 5\r\n\r\nhello",
                  {{6, 0}, {7, 5}, {11, 5}, {12, 5}}, 1, "hello"},
        ReplyCase{"header_past_1_kib", kOk + kLongField + "Content-Length: 5\r\n\r\nhello",
                  {{6, 0}, {7, 5}, {11, 5}, {12, 5}}, 1, "hello"},
        ReplyCase{"chunks_of_1_kib", kOk + "Content-Length: 3000\r\n\r\n" + kBody3000,
                  {{6, 0}, {7, 3000}, {11, 1024}, {11, 2048}, {11, 3000}, {12, 3000}}, 1, kBody3000},
        ReplyCase{"bytes_past_the_length_dropped", kOk + "Content-Length: 3\r\n\r\nhello",
                  {{6, 0}, {7, 3}, {11, 3}, {12, 3}}, 1, "hel"},
        ReplyCase{"length_zero", kOk + "Content-Length: 0\r\n\r\n", {{6, 0}, {7, 0}, {12, 0}}, 1, ""},
        ReplyCase{"early_close", kOk + "Content-Length: 10\r\n\r\nhello",
                  {{6, 0}, {7, 10}, {11, 5}, {5, 5}, {12, 5}}, 0, "hello"},
        ReplyCase{"moved_301", "HTTP/1.1 301 Moved\r\nLocation: /x\r\nContent-Length: 5\r\n\r\nhello",
                  {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"found_302", "HTTP/1.1 302 Found\r\nContent-Length: 5\r\n\r\nhello", {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"partial_206", "HTTP/1.1 206 Partial\r\nContent-Length: 5\r\n\r\nhello",
                  {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"only_x_content_length", kOk + "X-Content-Length: 5\r\n\r\nhello", {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"length_not_a_number", kOk + "Content-Length: 5x\r\n\r\nhello", {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"length_negative", kOk + "Content-Length: -5\r\n\r\nhello", {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"length_past_32_bits", kOk + "Content-Length: 4294967301\r\n\r\nhello",
                  {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"header_without_end", kOk + std::string(20000, 'h'), {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"header_cut_short", kOk + "Content-Length: 5\r\n", {{6, 0}, {3, 0}}, 0, kOldContent},
        ReplyCase{"nothing_at_all", "", {{6, 0}, {3, 0}}, 0, kOldContent}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST_F(HttpDownloadTest, BodyStalledFor5SecondsFailsWithReceiveError)
{
    CLoopbackServer server([](const std::string&) {
        return LoopbackReply{kOk + "Content-Length: 10\r\n\r\nhello", 15000};
    });
    EXPECT_EQ(HttpDownloadFile(server.Url("/f"), m_path, RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {7, 10}, {11, 5}, {5, 5}, {12, 5}}));
}

TEST_F(HttpDownloadTest, ServerSilentAfterAcceptTimesOutInsteadOfHanging)
{
    CLoopbackServer server([](const std::string&) { return LoopbackReply{"", 15000}; });
    EXPECT_EQ(HttpDownloadFile(server.Url("/f"), m_path, RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {3, 0}}));
    EXPECT_EQ(ReadFile(m_path), kOldContent);
}

TEST_F(HttpDownloadTest, StopAtReceiveErrorSkipsTheFileDoneNotice)
{
    g_stopAtStatus = HTTPCB_RECEIVE_FAILED;
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 10\r\n\r\nhello"}; });
    EXPECT_EQ(HttpDownloadFile(server.Url("/f"), m_path, RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {7, 10}, {11, 5}, {5, 5}}));
    EXPECT_EQ(ReadFile(m_path), "hello");
}

TEST_F(HttpDownloadTest, StopAtProgressOrFileDoneGivesZero)
{
    for (const int32_t stopAt : {HTTPCB_PROGRESS, HTTPCB_FILE_DONE}) {
        g_notices.clear();
        g_stopAtStatus = stopAt;
        CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 3000\r\n\r\n" + kBody3000}; });
        EXPECT_EQ(HttpDownloadFile(server.Url("/f"), m_path, RecordNotice, nullptr, 7), 0) << stopAt;
        EXPECT_EQ(g_notices.back().status, stopAt);
    }
    EXPECT_EQ(g_notices.size(), 6u);
}

// The server accepts connections in order, so a probe download that follows a refused
// one is the first connection only when the refused one made none.
void ExpectNoConnectionBeforeProbe(CLoopbackServer& server)
{
    g_stopAtStatus = -1;
    g_notices.clear();
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string probePath = std::string(folder) + "tvrl_probe.bin";
    EXPECT_EQ(HttpDownloadFile(server.Url("/probe"), probePath, RecordNotice, nullptr, 7), 1);
    DeleteFileA(probePath.c_str());
    ASSERT_TRUE(server.WaitForServed(1, 10000));
    const std::vector<std::string> requests = server.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0].compare(0, 11, "GET /probe "), 0) << requests[0];
}

TEST_F(HttpDownloadTest, StopAtStartedMakesNoConnection)
{
    g_stopAtStatus = HTTPCB_STARTED;
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 2\r\n\r\nok"}; });
    EXPECT_EQ(HttpDownloadFile(server.Url("/f"), m_path, RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}}));
    EXPECT_EQ(ReadFile(m_path), kOldContent);
    ExpectNoConnectionBeforeProbe(server);
}

TEST_F(HttpDownloadTest, RequestTooLongIsASendFailureWithoutBoxOrConnection)
{
    CMessageBoxAnswerer answerer("错误");
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 2\r\n\r\nok"}; });
    EXPECT_EQ(HttpDownloadFile(server.Url("/" + std::string(1100, 'a')), m_path, RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {4, 0}}));
    ExpectNoConnectionBeforeProbe(server);
    EXPECT_TRUE(answerer.Texts().empty());
}

TEST_F(HttpDownloadTest, NotificationCarriesUrlWindowAndGeneration)
{
    static CHttpCallBack s_last;
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 2\r\n\r\nok"}; });
    const std::string url = server.Url("/f");
    HttpDownloadFile(url, m_path, [](CHttpCallBack* c) -> int32_t { s_last = *c; return 1; },
                     reinterpret_cast<HWND>(0x1234), 42);
    EXPECT_EQ(s_last.m_strUrl, url);
    EXPECT_EQ(s_last.m_hWndNotify, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(s_last.m_nGeneration, 42);
    EXPECT_EQ(s_last.m_nSpare, 0);
    EXPECT_EQ(s_last.m_nStatus, HTTPCB_FILE_DONE);
}

class HttpDownloadDefaultPortTest : public HttpDownloadTest, public testing::WithParamInterface<const char*> {};

// Without a written port the client goes to 80, https included (it speaks plain HTTP),
// and sends the request without a port in its Host line.
TEST_P(HttpDownloadDefaultPortTest, UrlWithoutPortGoesTo80WithABareHostLine)
{
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 2\r\n\r\nok"}; }, 80);
    if (!server.Listening())
        GTEST_SKIP() << "port 80 of 127.0.0.1 cannot be taken here";
    EXPECT_EQ(HttpDownloadFile(std::string(GetParam()) + "/dir/f.bin", m_path, RecordNotice, nullptr, 7), 1);
    ASSERT_TRUE(server.WaitForServed(1, 10000));
    EXPECT_EQ(server.Requests(), std::vector<std::string>{ExpectedRequest("/dir/f.bin", "127.0.0.1")});
}

INSTANTIATE_TEST_SUITE_P(Schemes, HttpDownloadDefaultPortTest, testing::Values("http://127.0.0.1", "https://127.0.0.1"));

class HttpDownloadUrlTest : public HttpDownloadTest, public testing::WithParamInterface<const char*> {};

// No host means no lookup at all: an empty name would resolve this very machine.
TEST_P(HttpDownloadUrlTest, UrlWithoutHostFailsToConnect)
{
    CWinsockSession winsock;
    EXPECT_EQ(HttpDownloadFile(GetParam(), m_path, RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {1, 0}}));
    EXPECT_EQ(ReadFile(m_path), kOldContent);
}

INSTANTIATE_TEST_SUITE_P(Urls, HttpDownloadUrlTest,
                         testing::Values("", "/version.txt", "not a url", "http:///version.txt"));

TEST_F(HttpDownloadTest, LocalFileThatCannotBeCreatedIsAFileFailure)
{
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 2\r\n\r\nok"}; });
    EXPECT_EQ(HttpDownloadFile(server.Url("/f"), m_path + "\\no\\such\\folder", RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {7, 2}, {2, 2}}));
}

TEST_F(HttpDownloadTest, FullDiskIsAFileFailure)
{
    CLoopbackServer server([](const std::string&) { return LoopbackReply{kOk + "Content-Length: 2\r\n\r\nok"}; });
    // Wine maps Z: to the Linux root; writes to /dev/full fail with "no space left".
    EXPECT_EQ(HttpDownloadFile(server.Url("/f"), "Z:\\dev\\full", RecordNotice, nullptr, 7), 0);
    EXPECT_EQ(g_notices, (std::vector<Notice>{{6, 0}, {7, 2}, {2, 2}}));
}

}  // namespace
