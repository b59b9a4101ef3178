// The real launcher with its default login movie, run as a user runs it: the frame it
// presents (read back through the probe at its UpdateLayeredWindow lookup), where the web
// view lands and where it is sent, what the movie's buttons and dragging do, and that a still
// login screen presents nothing more.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "player/player.h"
#include "support/host_path.h"
#include "support/loopback_server.h"
#include "tools/capture/launcher_process.h"

namespace {

using tvrl::player::Player;

const int kStageWidth = 996, kStageHeight = 646;

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

struct Heard : tvrl::player::PlayerHost {
    std::vector<std::pair<std::string, std::string>> commands;
    void fsCommand(const std::string& command, const std::string& args) override { commands.push_back({command, args}); }
    void navigate(const std::string& url, const std::string&) override { commands.push_back({"navigate", url}); }
};

// What the embedded movie says and shows, learnt by playing it here with the same engine.
struct MovieFacts {
    RECT webView = {0, 0, 0, 0};       // from its "moveweb"
    std::string loginAddress;          // from its "weburl"
    std::vector<uint32_t> stillFrame;  // the frame once its animation has ended
    struct Button {
        POINT centre;
        std::string command;
    };
    std::vector<Button> buttons;

    POINT ButtonFor(const std::string& command) const
    {
        for (const Button& b : buttons)
            if (b.command == command)
                return b.centre;
        return {-1, -1};
    }
};

std::unique_ptr<Player> Play(const std::vector<uint8_t>& movie, Heard& heard)
{
    std::string error;
    auto player = Player::load(movie.data(), movie.size(), error, &heard);
    if (player)
        player->setViewport(kStageWidth, kStageHeight, tvrl::player::ScaleMode::ShowAll);
    return player;
}

MovieFacts LearnMovie(const std::string& path)
{
    MovieFacts facts;
    const std::vector<uint8_t> movie = ReadFileBytes(path);
    Heard heard;
    auto player = Play(movie, heard);
    if (!player)
        return facts;
    for (const auto& command : heard.commands) {
        int x, y, w, h;
        if (command.first == "moveweb" && std::sscanf(command.second.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) == 4)
            facts.webView = {x, y, x + w, y + h};
        else if (command.first == "weburl")
            facts.loginAddress = command.second;
    }
    for (int still = 0, frames = 0; still < 10 && frames < 1000; ++frames)
        still = player->advance() ? 0 : still + 1;
    facts.stillFrame.assign(kStageWidth * kStageHeight, 0);
    tvrl::player::RenderOptions options;
    options.paintBackground = false;
    player->render({facts.stillFrame.data(), kStageWidth, kStageHeight, kStageWidth}, options);

    // Buttons: where the hand shows, grouped into areas; each area clicked on a fresh copy.
    const int step = 6;
    std::vector<RECT> areas;
    for (int y = step / 2; y < kStageHeight; y += step) {
        for (int x = step / 2; x < kStageWidth; x += step) {
            player->mouseMove(x, y);
            if (player->cursor() != tvrl::player::Cursor::Hand)
                continue;
            auto touching = std::find_if(areas.begin(), areas.end(), [&](const RECT& r) {
                return x >= r.left - step && x <= r.right + step && y >= r.top - step && y <= r.bottom + step;
            });
            if (touching == areas.end())
                areas.push_back({x, y, x, y});
            else
                *touching = {std::min<LONG>(touching->left, x), std::min<LONG>(touching->top, y), std::max<LONG>(touching->right, x),
                         std::max<LONG>(touching->bottom, y)};
        }
    }
    for (const RECT& area : areas) {
        const POINT centre = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        Heard clicked;
        auto fresh = Play(movie, clicked);
        const size_t before = clicked.commands.size();
        fresh->mouseMove(centre.x, centre.y);
        fresh->mouseDown(centre.x, centre.y);
        fresh->mouseUp(centre.x, centre.y);
        if (clicked.commands.size() > before)
            facts.buttons.push_back({centre, clicked.commands.back().first});
    }
    return facts;
}

const MovieFacts& Facts()
{
    static const MovieFacts facts = LearnMovie(HostPathToWindows(TVRL_LOGIN_MOVIE_PATH));
    return facts;
}

struct OwnedSearch {
    HWND owner, found;
};

BOOL CALLBACK FindOwned(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(hWnd, GW_OWNER) == search->owner && IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The launcher's owned, visible pop-up: the web view.
HWND FindWebView(HWND main)
{
    OwnedSearch search = {main, nullptr};
    EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

template <class F>
bool WaitFor(F&& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

class LauncherMovieRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Facts().buttons.empty()) << "the embedded movie could not be learnt";
    }

    // Starts `exe` with the probe and waits until its login screen has settled: presented at
    // least once, then nothing new for a while.
    void StartLauncher(const char* exe = TVRL_EXE_PATH)
    {
        ASSERT_TRUE(m_launcher.Start(HostPathToWindows(exe), HostPathToWindows(TVRL_FRAME_PROBE_PATH)));
        m_window = m_launcher.WaitForMainWindow(60000);
        ASSERT_TRUE(m_window) << "no window appeared";
        ASSERT_TRUE(WaitFor([&] { return m_launcher.Probe()->hooked == 1; }, 10000)) << "the probe is not in place";
        ASSERT_GT(m_launcher.WaitUntilSettled(1500, 30000), 0)
            << "the login screen never settled";
    }

    // A click as the window receives one, at a point of the stage (client coordinates).
    void Click(POINT at)
    {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        PostMessageW(m_window, WM_MOUSEMOVE, 0, where);
        PostMessageW(m_window, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageW(m_window, WM_LBUTTONUP, 0, where);
    }

    CLauncherProcess m_launcher;
    HWND m_window = nullptr;
};

TEST_F(LauncherMovieRun, PresentsAShapedTranslucentLoginScreen)
{
    StartLauncher();
    RECT rc;
    GetWindowRect(m_window, &rc);
    EXPECT_EQ(rc.right - rc.left, kStageWidth);
    EXPECT_EQ(rc.bottom - rc.top, kStageHeight);
    EXPECT_TRUE(GetWindowLongW(m_window, GWL_EXSTYLE) & WS_EX_LAYERED);

    const FrameProbeShared& frame = *m_launcher.Probe();
    ASSERT_EQ(frame.width, kStageWidth);
    ASSERT_EQ(frame.height, kStageHeight);
    auto alpha = [&](int x, int y) { return static_cast<int>(frame.pixels[y * kStageWidth + x] >> 24); };
    for (POINT corner : {POINT{1, 1}, POINT{994, 1}, POINT{1, 644}, POINT{994, 644}})
        EXPECT_EQ(alpha(corner.x, corner.y), 0) << corner.x << "," << corner.y;
    EXPECT_EQ(alpha(kStageWidth / 2, 30), 255) << "the panel is opaque";

    // Every pixel as the engine draws the still movie, within rounding.
    int differing = 0, translucent = 0;
    for (int i = 0; i < kStageWidth * kStageHeight; ++i) {
        const uint32_t got = frame.pixels[i], want = Facts().stillFrame[i];
        for (int shift = 0; shift < 32; shift += 8) {
            if (std::abs(static_cast<int>(got >> shift & 255) - static_cast<int>(want >> shift & 255)) > 2) {
                ++differing;
                break;
            }
        }
        const int a = static_cast<int>(got >> 24);
        translucent += a > 0 && a < 255;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(translucent, 1000) << "the soft shadow is partly transparent";
}

TEST_F(LauncherMovieRun, WebViewLandsOnThePlaceholder)
{
    StartLauncher();
    HWND web = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (web = FindWebView(m_window)) != nullptr; }, 10000));
    POINT origin = {0, 0};
    ClientToScreen(m_window, &origin);
    RECT rc;
    GetWindowRect(web, &rc);
    OffsetRect(&rc, -origin.x, -origin.y);
    const RECT& expected = Facts().webView;
    EXPECT_EQ(rc.left, expected.left);
    EXPECT_EQ(rc.top, expected.top);
    EXPECT_EQ(rc.right, expected.right);
    EXPECT_EQ(rc.bottom, expected.bottom);
}

TEST_F(LauncherMovieRun, WebViewIsSentToTheLoginPageWithATime)
{
    // A launcher copy whose movie names a login page on this machine.
    CLoopbackServer server([](const std::string&) {
        return LoopbackReply("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 2\r\n\r\nok");
    }, TVRL_LOGIN_PORT);
    ASSERT_TRUE(server.Listening());
    const long long before = static_cast<long long>(std::time(nullptr));
    StartLauncher(TVRL_LOOPBACK_COPY_PATH);
    ASSERT_TRUE(WaitFor([&] { return !server.Requests().empty(); }, 20000)) << "the login page was never asked for";
    const std::string request = server.Requests().front();
    long long seconds = 0;
    char tail[16] = {};
    ASSERT_EQ(std::sscanf(request.c_str(), "GET /login.html?%lld %15s", &seconds, tail), 2) << request;
    EXPECT_STREQ(tail, "HTTP/1.1");
    EXPECT_GE(seconds, before - 1);
    EXPECT_LE(seconds, static_cast<long long>(std::time(nullptr)) + 1);
}

TEST_F(LauncherMovieRun, CloseButtonEndsTheLauncher)
{
    StartLauncher();
    const POINT close = Facts().ButtonFor("close");
    ASSERT_GE(close.x, 0) << "the movie has no close button";
    Click(close);
    DWORD exitCode = 1;
    EXPECT_TRUE(m_launcher.WaitForExit(15000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(LauncherMovieRun, MinimiseButtonMinimisesTheLauncher)
{
    StartLauncher();
    const POINT minimise = Facts().ButtonFor("min");
    ASSERT_GE(minimise.x, 0) << "the movie has no minimise button";
    EXPECT_FALSE(IsIconic(m_window));
    Click(minimise);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(m_window) != FALSE; }, 10000));
    EXPECT_TRUE(IsWindow(m_window)) << "minimised, not closed";
}

TEST_F(LauncherMovieRun, DraggingMovesTheWindowAndTheWebViewTogether)
{
    StartLauncher();
    HWND web = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (web = FindWebView(m_window)) != nullptr; }, 10000));
    RECT window, view;
    GetWindowRect(m_window, &window);
    GetWindowRect(web, &view);

    // Grab the panel where there is no button (just below the top edge, in the middle).
    const POINT grab = {kStageWidth / 2, 20};
    POINT screen = {window.left + grab.x, window.top + grab.y};
    SetCursorPos(screen.x, screen.y);
    PostMessageW(m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    // The press is taken once the launcher holds the mouse capture for its drag.
    const DWORD thread = GetWindowThreadProcessId(m_window, nullptr);
    ASSERT_TRUE(WaitFor(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && info.hwndCapture == m_window;
        },
        10000));
    SetCursorPos(screen.x + 60, screen.y + 40);
    PostMessageW(m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + 60, grab.y + 40));
    PostMessageW(m_window, WM_LBUTTONUP, 0, MAKELPARAM(grab.x + 60, grab.y + 40));

    RECT moved;
    EXPECT_TRUE(WaitFor(
        [&] {
            GetWindowRect(m_window, &moved);
            return moved.left == window.left + 60 && moved.top == window.top + 40;
        },
        10000))
        << "window at " << moved.left << "," << moved.top;
    RECT viewMoved;
    EXPECT_TRUE(WaitFor(
        [&] {
            GetWindowRect(web, &viewMoved);
            return viewMoved.left == view.left + 60 && viewMoved.top == view.top + 40;
        },
        10000))
        << "web view at " << viewMoved.left << "," << viewMoved.top;
}

TEST_F(LauncherMovieRun, AStillLoginScreenPresentsNoFrames)
{
    StartLauncher();
    const LONG frames = m_launcher.Probe()->frames;
    Sleep(3000);
    EXPECT_EQ(m_launcher.Probe()->frames, frames);
}

}  // namespace
