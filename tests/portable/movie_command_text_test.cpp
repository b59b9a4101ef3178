// The portable text handling of the movie commands: "moveweb" fields and the "weburl" address.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/split_string.h"
#include "ui/time_query.h"

namespace {

struct SplitCase {
    const char* text;
    std::vector<std::string> pieces;
};

class SplitStringCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitStringCases, CutsAtEveryComma)
{
    std::vector<std::string> out;
    SplitString(GetParam().text, ",", out);
    EXPECT_EQ(out, GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, SplitStringCases,
    ::testing::Values(SplitCase{"10,20,300,400", {"10", "20", "300", "400"}}, SplitCase{"a,,b", {"a", "", "b"}},
                      SplitCase{",a", {"", "a"}}, SplitCase{"a,", {"a"}}, SplitCase{",", {""}},
                      SplitCase{"", {""}}, SplitCase{",,", {"", ""}}));

TEST(SplitString, AppendsToWhatTheListHolds)
{
    std::vector<std::string> out{"kept"};
    SplitString("1,2", ",", out);
    EXPECT_EQ(out, (std::vector<std::string>{"kept", "1", "2"}));
}

TEST(AppendTimeQuery, StartsAQueryOrAddsToTheOneThere)
{
    EXPECT_EQ(AppendTimeQuery("http://qarvo.example/login.php", 1700000000),
              "http://qarvo.example/login.php?1700000000");
    EXPECT_EQ(AppendTimeQuery("http://qarvo.example/login.php?from=khd", 1700000000),
              "http://qarvo.example/login.php?from=khd&1700000000");
    EXPECT_EQ(AppendTimeQuery("", 0), "?0");
    EXPECT_EQ(AppendTimeQuery("a", 4102444800LL), "a?4102444800");
}

}  // namespace
