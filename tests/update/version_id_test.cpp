// Whether the server's update id announces a newer version than the launcher's "1".
#include <gtest/gtest.h>

#include "update/version_id.h"

namespace {

struct IdCase {
    const char* serverId;
    bool newer;
};

void PrintTo(const IdCase& c, std::ostream* os) { *os << '"' << c.serverId << '"'; }

class IsNewerVersionTest : public testing::TestWithParam<IdCase> {};

TEST_P(IsNewerVersionTest, ComparesAsAtoiReads)
{
    EXPECT_EQ(IsNewerVersion("1", GetParam().serverId), GetParam().newer) << '"' << GetParam().serverId << '"';
}

INSTANTIATE_TEST_SUITE_P(Ids, IsNewerVersionTest,
                         testing::Values(IdCase{"1", false}, IdCase{"2", true}, IdCase{"2abc", true},
                                         IdCase{" 10", true}, IdCase{"-5", false}, IdCase{"abc", false},
                                         IdCase{"", false}, IdCase{"0", false},
                                         IdCase{"99999999999999", true}));

}  // namespace
