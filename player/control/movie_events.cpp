#include "player/control/movie_events.h"

#include <windows.h>

// Trace lines and script warnings go to the debugger, as the Flash control's debug
// output does; a user sees nothing of them.
void CMovieEventQueue::trace(const std::string& line)
{
    OutputDebugStringA((line + "\n").c_str());
}

void CMovieEventQueue::warning(const std::string& message)
{
    OutputDebugStringA(("movie: " + message + "\n").c_str());
}
