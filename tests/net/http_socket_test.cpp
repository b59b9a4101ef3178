// CHttpSocket's own operations where the download does not reach them: the send failure
// and its message box, refusals when not connected, and the header kept after closing.
#include <winsock2.h>
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "net/http_socket.h"
#include "support/loopback_server.h"
#include "support/message_box_answerer.h"

namespace {

TEST(CHttpSocket, SendFailureShowsItsMessageBoxAndGivesZero)
{
    CLoopbackServer server([](const std::string&) { return LoopbackReply{}; });
    server.ResetConnections();
    CMessageBoxAnswerer answerer("错误");

    CHttpSocket socket;
    ASSERT_EQ(socket.OpenSocket(), 1);
    ASSERT_EQ(socket.ConnectHost("127.0.0.1", server.Port()), 1);
    EXPECT_STREQ(socket.m_szAddress, "127.0.0.1");
    // Once the server has reset the connection, the send must fail.
    ASSERT_TRUE(server.WaitForServed(1, 10000));
    int32_t length = 0;
    socket.BuildRequest("127.0.0.1", "/f", &length, nullptr, nullptr, 0, 0);
    int result = 1;
    for (int attempt = 0; attempt < 3 && result == 1; ++attempt)
        result = socket.SendAndReadHeader(nullptr, 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"send()函数执行失败!"});
}

TEST(CHttpSocket, RefusesWorkWhenNotConnected)
{
    CMessageBoxAnswerer answerer("错误");
    CHttpSocket socket;
    char buffer[16];
    EXPECT_EQ(socket.SendAndReadHeader("x", 1), 0);
    EXPECT_EQ(socket.ReceiveChunk(buffer, sizeof buffer), 0);
    EXPECT_EQ(socket.StatusCode(), -1);
    EXPECT_EQ(socket.FindHeaderField("Content-Length", buffer, sizeof buffer), -1);
    EXPECT_EQ(socket.NextHeaderLine(buffer, sizeof buffer), -1);
    EXPECT_EQ(socket.ConnectHost(nullptr, 80), 0);
    EXPECT_EQ(socket.ConnectHost("", 80), 0);
    EXPECT_EQ(socket.m_pHostEntry, nullptr);
    EXPECT_TRUE(answerer.Texts().empty());
}

TEST(CHttpSocket, HeaderStaysReadableAfterTheConnectionCloses)
{
    const std::string header = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n";
    CLoopbackServer server([&](const std::string&) { return LoopbackReply{header + "ok"}; });
    CHttpSocket socket;
    ASSERT_EQ(socket.OpenSocket(), 1);
    ASSERT_EQ(socket.ConnectHost("localhost", server.Port()), 1);
    EXPECT_EQ(socket.OpenSocket(), 0);
    ASSERT_EQ(socket.SendAndReadHeader(nullptr, 0), 1);
    int32_t length = 0;
    socket.ReadResponseHeader(&length);
    EXPECT_EQ(length, static_cast<int32_t>(header.size()));

    char body[16];
    EXPECT_EQ(socket.ReceiveChunk(body, sizeof body), 2);
    EXPECT_EQ(std::string(body, 2), "ok");
    EXPECT_EQ(socket.ReceiveChunk(body, sizeof body), 0);
    EXPECT_EQ(socket.m_bIsConnected, 0);
    EXPECT_EQ(socket.m_hSocket, 0u);

    EXPECT_EQ(socket.StatusCode(), 200);
    char value[20];
    EXPECT_EQ(socket.FindHeaderField("content-length", value, sizeof value), 1);
    EXPECT_STREQ(value, "2");
    char line[64];
    EXPECT_EQ(socket.NextHeaderLine(line, sizeof line), 17);
    EXPECT_EQ(std::string(line, 17), "HTTP/1.1 200 OK\r\n");
}

}  // namespace
