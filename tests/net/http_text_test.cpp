// The download client's pure text handling: the request it sends, the header lines and
// fields it reads back, and the numbers it accepts.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "net/decimal_text.h"
#include "net/http_header.h"
#include "net/http_request.h"
#include "net/url_port.h"

namespace {

const char kAgent[] = "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\n";

struct RequestCase {
    const char* name;
    const char* cookie;
    const char* referer;
    int rangeFrom;
    int rangeTo;
    std::string expected;
};

void PrintTo(const RequestCase& c, std::ostream* os) { *os << c.name; }

class BuildHttpRequestTest : public testing::TestWithParam<RequestCase> {};

TEST_P(BuildHttpRequestTest, WritesTheLinesInOrder)
{
    const RequestCase& c = GetParam();
    char out[1024];
    std::memset(out, 'x', sizeof out);
    const int length = BuildHttpRequest(out, sizeof out, "H", "/version.txt", c.cookie, c.referer,
                                        c.rangeFrom, c.rangeTo);
    EXPECT_EQ(std::string(out), c.expected);
    EXPECT_EQ(length, static_cast<int>(c.expected.size()));
}

const std::string kHead = "GET /version.txt HTTP/1.1\r\nHost:H\r\n";
const std::string kMiddle = std::string("Accept:*/*\r\n") + kAgent + "Connection:Keep-Alive\r\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, BuildHttpRequestTest,
    testing::Values(
        RequestCase{"plain", nullptr, nullptr, 0, 0, kHead + kMiddle + "\r\n"},
        RequestCase{"referer", nullptr, "http://r/", 0, 0, kHead + "Referer:http://r/\r\n" + kMiddle + "\r\n"},
        RequestCase{"cookie", "abc", nullptr, 0, 0, kHead + kMiddle + "Set Cookie:0abc\r\n\r\n"},
        RequestCase{"open_range", nullptr, nullptr, 100, 0, kHead + kMiddle + "Range: bytes=100-\r\n\r\n"},
        RequestCase{"range_end_not_after_start", nullptr, nullptr, 100, 100,
                    kHead + kMiddle + "Range: bytes=100-\r\n\r\n"},
        RequestCase{"closed_range", nullptr, nullptr, 100, 200, kHead + kMiddle + "Range: bytes=100-200\r\n\r\n"},
        RequestCase{"negative_range_ignored", nullptr, nullptr, -5, 200, kHead + kMiddle + "\r\n"},
        RequestCase{"all", "c", "r", 1, 2,
                    kHead + "Referer:r\r\n" + kMiddle + "Set Cookie:0c\r\nRange: bytes=1-2\r\n\r\n"}),
    [](const testing::TestParamInfo<RequestCase>& info) { return std::string(info.param.name); });

TEST(BuildHttpRequest, RefusesTextThatDoesNotFitWithItsTerminator)
{
    char out[1024];
    const int base = BuildHttpRequest(out, sizeof out, "H", "/", nullptr, nullptr, 0, 0);
    // A path that makes the text exactly 1023 bytes fits 1024 bytes; one byte more does not.
    std::string path = "/" + std::string(1023 - base, 'p');
    EXPECT_EQ(BuildHttpRequest(out, sizeof out, "H", path.c_str(), nullptr, nullptr, 0, 0), 1023);
    path += "p";
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(BuildHttpRequest(out, sizeof out, "H", path.c_str(), nullptr, nullptr, 0, 0), -1);
    EXPECT_EQ(out[0], '\0');
}

TEST(NextHeaderLine, WalksLinesThenWrapsToTheStart)
{
    const std::string header = "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n";
    const int length = static_cast<int>(header.size());
    int pos = 0;
    char line[64];
    const char* expected[] = {"HTTP/1.1 200 OK\r\n", "A: 1\r\n", "\r\n"};
    for (const char* want : expected) {
        const int n = NextHeaderLine(header.data(), length, pos, line, sizeof line);
        EXPECT_EQ(std::string(line, n), want);
    }
    EXPECT_EQ(NextHeaderLine(header.data(), length, pos, line, sizeof line), -1);
    EXPECT_EQ(pos, 0);
    EXPECT_EQ(NextHeaderLine(header.data(), length, pos, line, sizeof line), 17);
}

TEST(NextHeaderLine, StopsAtTheBufferSizeAndGoesOnFromThere)
{
    const std::string header = "ABCDEF\r\n";
    int pos = 0;
    char line[4];
    ASSERT_EQ(NextHeaderLine(header.data(), 8, pos, line, 4), 4);
    EXPECT_EQ(std::string(line, 4), "ABCD");
    ASSERT_EQ(NextHeaderLine(header.data(), 8, pos, line, 4), 4);
    EXPECT_EQ(std::string(line, 4), "EF\r\n");
    EXPECT_EQ(NextHeaderLine(header.data(), 8, pos, line, 4), -1);
}

TEST(NextHeaderLine, HeaderNotReadHasNoLines)
{
    int pos = 0;
    char line[4];
    EXPECT_EQ(NextHeaderLine("", -1, pos, line, 4), -1);
}

struct FieldCase {
    const char* name;
    std::string fields;  // the lines after the status line
    const char* field;
    int expectedLength;
    const char* expectedValue;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class FindHeaderFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(FindHeaderFieldTest, FindsWholeFieldNamesOnly)
{
    const FieldCase& c = GetParam();
    const std::string header = "HTTP/1.1 200 OK Content-Length: 9\r\n" + c.fields + "\r\n";
    char value[20];
    std::memset(value, 'x', sizeof value);
    EXPECT_EQ(FindHeaderField(header.data(), static_cast<int>(header.size()), c.field, value, sizeof value),
              c.expectedLength);
    EXPECT_STREQ(value, c.expectedValue);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FindHeaderFieldTest,
    testing::Values(
        FieldCase{"spaced", "Content-Length: 1234\r\n", "Content-Length", 4, "1234"},
        FieldCase{"unspaced", "Content-Length:1234\r\n", "Content-Length", 4, "1234"},
        FieldCase{"lower_case", "content-length: 1234\r\n", "Content-Length", 4, "1234"},
        FieldCase{"tab_after_colon", "CONTENT-LENGTH:\t 77\r\n", "Content-Length", 2, "77"},
        FieldCase{"longer_name_ignored", "X-Content-Length: 5\r\nContent-Length: 6\r\n", "Content-Length", 1, "6"},
        FieldCase{"longer_name_only", "X-Content-Length: 5\r\n", "Content-Length", -1, ""},
        FieldCase{"name_inside_value", "X-Note: Content-Length: 5\r\n", "Content-Length", -1, ""},
        FieldCase{"prefix_of_name", "Content-Lengths: 5\r\n", "Content-Length", -1, ""},
        FieldCase{"no_colon", "Content-Length 5\r\n", "Content-Length", -1, ""},
        FieldCase{"first_wins", "Content-Length: 1\r\nContent-Length: 2\r\n", "Content-Length", 1, "1"},
        FieldCase{"empty_value", "Content-Length:\r\n", "Content-Length", 0, ""},
        FieldCase{"value_too_long", "Content-Length: 12345678901234567890\r\n", "Content-Length", -1, ""},
        FieldCase{"value_just_fits", "Content-Length: 1234567890123456789\r\n", "Content-Length", 19,
                  "1234567890123456789"},
        FieldCase{"bare_lf_line_end", "Content-Length: 8\nX: y\r\n", "Content-Length", 1, "8"},
        FieldCase{"empty_name", "Content-Length: 8\r\n", "", -1, ""},
        FieldCase{"null_name", "Content-Length: 8\r\n", nullptr, -1, ""}),
    [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

TEST(FindHeaderField, ValueWithoutLineEndRunsToTheEndOfTheText)
{
    const std::string header = "HTTP/1.1 200 OK\r\nContent-Length: 42";
    char value[20];
    EXPECT_EQ(FindHeaderField(header.data(), static_cast<int>(header.size()), "Content-Length", value, 20), 2);
    EXPECT_STREQ(value, "42");
}

struct StatusCase {
    const char* header;
    int expected;
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << '"' << c.header << '"'; }

class StatusCodeTest : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusCodeTest, ReadsTheThreeCharactersAfterTheVersion)
{
    const StatusCase& c = GetParam();
    EXPECT_EQ(StatusCodeOf(c.header, static_cast<int>(std::strlen(c.header))), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, StatusCodeTest,
                         testing::Values(StatusCase{"HTTP/1.1 200 OK\r\n\r\n", 200},
                                         StatusCase{"HTTP/1.0 200 OK\r\n\r\n", 200},
                                         StatusCase{"HTTP/1.1 301 Moved\r\n\r\n", 301},
                                         StatusCase{"HTTP/1.1 2000 OK\r\n\r\n", 200},
                                         StatusCase{"HTTP/1.1 20", 0},
                                         StatusCase{"garbage garbage\r\n\r\n", 0}));

struct LengthCase {
    const char* text;
    bool accepted;
    int32_t value;
};

void PrintTo(const LengthCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ParseContentLengthTest : public testing::TestWithParam<LengthCase> {};

TEST_P(ParseContentLengthTest, AcceptsPlainDecimalsInRange)
{
    const LengthCase& c = GetParam();
    int32_t value = -7;
    EXPECT_EQ(ParseContentLength(c.text, value), c.accepted) << '"' << c.text << '"';
    EXPECT_EQ(value, c.accepted ? c.value : -7);
}

INSTANTIATE_TEST_SUITE_P(Values, ParseContentLengthTest,
                         testing::Values(LengthCase{"1234", true, 1234}, LengthCase{"0", true, 0},
                                         LengthCase{" \t42\t ", true, 42},
                                         LengthCase{"2147483647", true, 2147483647},
                                         LengthCase{"2147483648", false, 0},
                                         LengthCase{"99999999999999999", false, 0},
                                         LengthCase{"-1", false, 0}, LengthCase{"+1", false, 0},
                                         LengthCase{"", false, 0}, LengthCase{"  ", false, 0},
                                         LengthCase{"12abc", false, 0}, LengthCase{"1 2", false, 0},
                                         LengthCase{"0x10", false, 0}, LengthCase{"\v1", false, 0}));

struct AtoiCase {
    const char* text;
    int32_t expected;
};

void PrintTo(const AtoiCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class AtoiLikeTest : public testing::TestWithParam<AtoiCase> {};

TEST_P(AtoiLikeTest, ReadsLikeAtoiAndClamps)
{
    EXPECT_EQ(AtoiLike(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Values, AtoiLikeTest,
                         testing::Values(AtoiCase{"2", 2}, AtoiCase{"2abc", 2}, AtoiCase{" \t\n-5", -5},
                                         AtoiCase{"+7", 7}, AtoiCase{"abc", 0}, AtoiCase{"", 0},
                                         AtoiCase{"- 5", 0}, AtoiCase{"99999999999", INT32_MAX},
                                         AtoiCase{"-99999999999", INT32_MIN}));

TEST(AtoiLike, LooksAtNoMoreThanItsLimit)
{
    EXPECT_EQ(AtoiLike("2001", 3), 200);
}

struct PortCase {
    const char* url;
    int expected;
};

void PrintTo(const PortCase& c, std::ostream* os) { *os << '"' << c.url << '"'; }

class WrittenPortTest : public testing::TestWithParam<PortCase> {};

TEST_P(WrittenPortTest, FindsOnlyAPortAfterTheHost)
{
    EXPECT_EQ(WrittenPort(GetParam().url), GetParam().expected) << GetParam().url;
}

INSTANTIATE_TEST_SUITE_P(
    Urls, WrittenPortTest,
    testing::Values(PortCase{"http://h/a", -1}, PortCase{"http://h:8080/a", 8080}, PortCase{"http://h:80", 80},
                    PortCase{"https://h/", -1}, PortCase{"http://h/a:99", -1}, PortCase{"http://h?x=:9", -1},
                    PortCase{"http://u:p@h/", -1}, PortCase{"http://u:p@h:81/", 81},
                    PortCase{"http://[::1]:82/", 82}, PortCase{"http://[::1]/", -1}, PortCase{"http://h:/", -1},
                    PortCase{"http://h:0/", -1}, PortCase{"http://h:65536/", -1}, PortCase{"http://h:8a/", -1},
                    PortCase{"/version.txt", -1}, PortCase{"", -1}));

}  // namespace
