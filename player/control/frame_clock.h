#pragma once
// Paces a movie on the user-interface thread: a timer on a message-only window of its own
// calls back with the milliseconds since Start and how many frames have fallen due since
// the last call. A late tick catches up by at most a few frames rather than racing.
#include <windows.h>

class CFrameClock {
public:
    class Listener {
    public:
        virtual void OnClockTick(double elapsedMs, int framesDue) = 0;

    protected:
        ~Listener() = default;
    };

    explicit CFrameClock(Listener& listener) : m_listener(listener) {}
    ~CFrameClock();
    CFrameClock(const CFrameClock&) = delete;
    CFrameClock& operator=(const CFrameClock&) = delete;

    // Starts (or restarts) the clock at `framesPerSecond`; the time already played goes on
    // from where it stood, so a stopped movie resumes without a jump.
    bool Start(double framesPerSecond);
    void Stop();

    static constexpr int kMostFramesPerTick = 2;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Tick();
    double NowMs() const;

    Listener& m_listener;
    HWND m_hWnd = nullptr;
    UINT_PTR m_timer = 0;
    double m_frameMs = 0;
    double m_startMs = 0;       // the moment played time 0 corresponds to
    double m_playedMs = 0;      // played time when the clock last stopped
    long long m_framesDone = 0;  // frame slots of the played time already handed out
};
