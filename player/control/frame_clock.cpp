#include "player/control/frame_clock.h"

#include <algorithm>
#include <cmath>

namespace {

const char kClockWindowClass[] = "TvrlMovieClock";

}  // namespace

CFrameClock::~CFrameClock()
{
    Stop();
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

double CFrameClock::NowMs() const
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool CFrameClock::Start(double framesPerSecond)
{
    if (!m_hWnd) {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = &CFrameClock::WindowProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = kClockWindowClass;
        RegisterClassA(&cls);  // fails harmlessly once the class exists
        m_hWnd = CreateWindowExA(0, kClockWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, this);
        if (!m_hWnd)
            return false;
    }
    // A movie may declare any rate: 0 or nonsense plays at 12, as the Flash control does, and
    // the timer never runs faster than the system can deliver.
    if (!(framesPerSecond > 0.01 && framesPerSecond <= 120))
        framesPerSecond = 12;
    m_frameMs = 1000.0 / framesPerSecond;
    if (m_timer)
        return true;
    m_startMs = NowMs() - m_playedMs;
    m_framesDone = static_cast<long long>(std::floor(m_playedMs / m_frameMs));
    const UINT interval = static_cast<UINT>(std::max(10.0, std::floor(m_frameMs / 2)));
    m_timer = SetTimer(m_hWnd, 1, interval, nullptr);
    return m_timer != 0;
}

void CFrameClock::Stop()
{
    if (!m_timer)
        return;
    KillTimer(m_hWnd, m_timer);
    m_timer = 0;
    m_playedMs = NowMs() - m_startMs;
}

void CFrameClock::Tick()
{
    const double elapsed = NowMs() - m_startMs;
    const long long slots = static_cast<long long>(std::floor(elapsed / m_frameMs));
    const long long due = slots - m_framesDone;
    m_framesDone = slots;
    m_listener.OnClockTick(elapsed, static_cast<int>(std::clamp<long long>(due, 0, kMostFramesPerTick)));
}

LRESULT CALLBACK CFrameClock::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_TIMER) {
        auto* clock = reinterpret_cast<CFrameClock*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (clock && clock->m_timer)
            clock->Tick();
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}
