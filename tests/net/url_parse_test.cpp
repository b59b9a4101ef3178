// The framework's URL splitter over WinInet: host, path with its query, and port.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "framework/url_parse.h"

namespace {

struct UrlCase {
    const char* url;
    BOOL ok;
    DWORD service;
    const char* host;
    const char* path;
    INTERNET_PORT port;
};

void PrintTo(const UrlCase& c, std::ostream* os) { *os << '"' << c.url << '"'; }

class AfxParseURLTest : public testing::TestWithParam<UrlCase> {};

TEST_P(AfxParseURLTest, SplitsIntoHostPathAndPort)
{
    const UrlCase& c = GetParam();
    DWORD service = 99;
    std::string host = "x";
    std::string path = "x";
    INTERNET_PORT port = 99;
    EXPECT_EQ(AfxParseURL(c.url, service, host, path, port), c.ok);
    EXPECT_EQ(service, c.service);
    EXPECT_EQ(host, c.host);
    EXPECT_EQ(path, c.path);
    EXPECT_EQ(port, c.port);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, AfxParseURLTest,
    testing::Values(
        UrlCase{"http://up.example.com/version.txt", TRUE, INTERNET_SCHEME_HTTP, "up.example.com", "/version.txt", 80},
        UrlCase{"http://h:8080/a/b.exe?x=1&y=2", TRUE, INTERNET_SCHEME_HTTP, "h", "/a/b.exe?x=1&y=2", 8080},
        UrlCase{"https://h/a", TRUE, INTERNET_SCHEME_HTTPS, "h", "/a", 443},
        UrlCase{"http://h", TRUE, INTERNET_SCHEME_HTTP, "h", "/", 80},
        UrlCase{"http://h/a b", TRUE, INTERNET_SCHEME_HTTP, "h", "/a%20b", 80},
        UrlCase{"http://h/a/../b", TRUE, INTERNET_SCHEME_HTTP, "h", "/b", 80},
        UrlCase{"/version.txt", FALSE, 0, "", "", 0},
        UrlCase{"", FALSE, 0, "", "", 0},
        UrlCase{"not a url", FALSE, 0, "", "", 0}));

}  // namespace
