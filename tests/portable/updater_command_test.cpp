// The updater's command line: three quoted paths in a fixed order.
#include <gtest/gtest.h>

#include "update/updater_command.h"

namespace {

struct CommandCase {
    const char* localDir;
    const char* launcherPath;
    const char* expected;
};

class UpdaterCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(UpdaterCommand, QuotesTheUpdaterTheLauncherAndThePackage)
{
    EXPECT_EQ(UpdaterCommandLine(GetParam().localDir, GetParam().launcherPath), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UpdaterCommand,
    ::testing::Values(
        CommandCase{"", "C:\\Games\\TVRL.exe", "\"update.exe\" \"C:\\Games\\TVRL.exe\" \"QUILB.update\""},
        CommandCase{"C:\\Program Files\\Tavrel\\", "C:\\Program Files\\Tavrel\\TVRL.exe",
                    "\"C:\\Program Files\\Tavrel\\update.exe\" \"C:\\Program Files\\Tavrel\\TVRL.exe\" "
                    "\"C:\\Program Files\\Tavrel\\QUILB.update\""},
        // A code page 936 folder name whose second byte is a backslash stays as it is.
        CommandCase{"D:\\\x81\x5C\\", "D:\\\x81\x5C\\TVRL.exe",
                    "\"D:\\\x81\x5C\\update.exe\" \"D:\\\x81\x5C\\TVRL.exe\" \"D:\\\x81\x5C\\QUILB.update\""}));

}  // namespace
