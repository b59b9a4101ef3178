// Reading the launcher's embedded configuration.
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app/configuration.h"

namespace {

LauncherConfig Read(const std::string& text)
{
    CSimpleIniA parser = MakeConfigParser();
    return ReadLauncherConfig(parser, text.data(), text.size());
}

struct ConfigCase {
    const char* what;
    std::string text;
    LauncherConfig expected;
};

void PrintTo(const ConfigCase& c, std::ostream* os) { *os << c.what; }

class ConfigurationTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigurationTest, ReadsTheFourKeysOfConfig)
{
    const ConfigCase& c = GetParam();
    const LauncherConfig config = Read(c.text);
    EXPECT_EQ(config.name, c.expected.name);
    EXPECT_EQ(config.webUrl, c.expected.webUrl);
    EXPECT_EQ(config.updateUrl, c.expected.updateUrl);
    EXPECT_EQ(config.gameUrl, c.expected.gameUrl);
}

// Code page 936 bytes: "登录器" and a character whose second byte is a backslash.
const std::string kLauncherWord = "\xB5\xC7\xC2\xBC\xC6\xF7";
const std::string kBackslashTrail = "\x81\x5C";

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigurationTest,
    ::testing::Values(
        ConfigCase{"all four keys", "[config]\r\nname=N\r\nweburl=W\r\nupdateurl=U\r\ngameurl=G\r\n", {"N", "W", "U", "G"}},
        ConfigCase{"section and keys in capitals",
                   "[CONFIG]\r\nNAME=N\r\nWebUrl=W\r\nUPDATEURL=U\r\nGameURL=G\r\n", {"N", "W", "U", "G"}},
        ConfigCase{"a key only in another section is not read",
                   "[other]\r\nname=X\r\nweburl=X\r\n[config]\r\ngameurl=G\r\n", {"", "", "", "G"}},
        ConfigCase{"keys after another section belong to it",
                   "[config]\r\nname=N\r\n[other]\r\ngameurl=X\r\n", {"N", "", "", ""}},
        ConfigCase{"no text at all", "", {"", "", "", ""}},
        ConfigCase{"no config section", "[update]\r\nid=2\r\n", {"", "", "", ""}},
        ConfigCase{"LF line ends, spaces around the equals sign, no final line end",
                   "[config]\nname = N \ngameurl=G", {"N", "", "", "G"}},
        ConfigCase{"comments are skipped", "[config]\r\n;name=X\r\n#weburl=X\r\nname=N\r\n", {"N", "", "", ""}},
        ConfigCase{"double-byte text kept byte for byte, even a trailing backslash byte",
                   "[config]\r\nname=Q" + kLauncherWord + kBackslashTrail + "\r\ngameurl=G\r\n",
                   {"Q" + kLauncherWord + kBackslashTrail, "", "", "G"}},
        ConfigCase{"empty values", "[config]\r\nname=\r\nweburl=\r\n", {"", "", "", ""}},
        ConfigCase{"garbage before the section does not hide it",
                   std::string("\x01\x02garbage]=[\r\n=\r\n[]\r\n[config]\r\nname=N\r\n"), {"N", "", "", ""}},
        ConfigCase{"an unclosed section header", "[config\r\nname=N\r\n", {"", "", "", ""}},
        ConfigCase{"a NUL byte ends the text", std::string("[config]\r\nname=N\r\n\0gameurl=G\r\n", 29),
                   {"N", "", "", ""}}),
    [](const ::testing::TestParamInfo<ConfigCase>& info) { return "case" + std::to_string(info.index); });

TEST(Configuration, ShippedResourceGivesTheShippedValuesByteForByte)
{
    std::ifstream file(TVRL_SOURCE_DIR "/res/config.ini", std::ios::binary);
    ASSERT_TRUE(file) << "cannot open the shipped configuration";
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    // Stored as code page 936 with CR LF line ends, no byte-order mark and no NUL.
    EXPECT_EQ(text.find('\0'), std::string::npos);
    EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(text.find("\r\n"), text.find('\n') - 1);

    const LauncherConfig config = Read(text);
    EXPECT_EQ(config.name, "QarvoTavrel" + kLauncherWord);
    EXPECT_EQ(config.webUrl, "");
    EXPECT_EQ(config.updateUrl, "");
    EXPECT_EQ(config.gameUrl, "game_login_khd.php");
}

TEST(Configuration, MissingResourceReadsAsEmpty)
{
    CSimpleIniA parser = MakeConfigParser();
    const LauncherConfig config = ReadLauncherConfig(parser, nullptr, 0);
    EXPECT_EQ(config.name + config.webUrl + config.updateUrl + config.gameUrl, "");
}

TEST(Configuration, ValuesDoNotPointIntoTheText)
{
    std::string text = "[config]\r\nname=N\r\n";
    CSimpleIniA parser = MakeConfigParser();
    const LauncherConfig config = ReadLauncherConfig(parser, text.data(), text.size());
    text.assign(text.size(), 'x');
    EXPECT_EQ(config.name, "N");
}

TEST(Configuration, ArbitraryBytesNeverCrash)
{
    // A fixed pseudo-random sequence: the same bytes on every run.
    uint32_t state = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string text(round * 7, '\0');
        for (char& ch : text) {
            state = state * 1103515245u + 12345u;
            const char alphabet[] = "[]=;#\r\n \tconfigname\x81\x5C\xB5\xC7";
            ch = alphabet[(state >> 16) % (sizeof alphabet - 1)];
        }
        text = "[config]\r\n" + text;
        const LauncherConfig config = Read(text);
        EXPECT_LE(config.name.size(), text.size());
    }
}

}  // namespace
