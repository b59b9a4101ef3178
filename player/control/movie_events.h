#pragma once
// What a playing movie asks of its host while the engine runs, held until the engine call
// has returned: the container's handlers may move, hide or close the control, which must
// not happen in the middle of a frame.
#include <string>
#include <vector>

#include "player/player_host.h"

struct MovieEvent {
    enum class Kind { FSCommand, Navigate };
    Kind kind;
    std::string first;   // command, or address
    std::string second;  // arguments, or target window
};

class CMovieEventQueue : public tvrl::player::PlayerHost {
public:
    void fsCommand(const std::string& command, const std::string& args) override
    {
        m_events.push_back({MovieEvent::Kind::FSCommand, command, args});
    }
    void navigate(const std::string& url, const std::string& target) override
    {
        m_events.push_back({MovieEvent::Kind::Navigate, url, target});
    }
    void trace(const std::string& line) override;
    void warning(const std::string& message) override;

    // Hands over what has gathered, oldest first.
    std::vector<MovieEvent> Take()
    {
        std::vector<MovieEvent> events;
        events.swap(m_events);
        return events;
    }

private:
    std::vector<MovieEvent> m_events;
};
