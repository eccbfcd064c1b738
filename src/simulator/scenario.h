#pragma once
#include <string>
#include <vector>

namespace vantrel::sim {

// A timeline of commands: each line "<time> <command>", the time in seconds from the start
// or as H:MM:SS; blank lines and lines starting with "#" are ignored. Lines are run in time
// order (lines with the same time in file order).
class Scenario {
public:
    // Loads a file; false with a reason naming the line on a malformed time.
    bool Load(const std::string& path, std::string& reason);
    bool Parse(const std::string& text, std::string& reason);

    // The commands that fall due up to the given scenario time, each returned once.
    std::vector<std::string> Due(double seconds);
    bool Finished() const { return next_ >= events_.size(); }

private:
    struct Event {
        double at;
        std::string command;
    };
    std::vector<Event> events_;
    std::size_t next_ = 0;
};

// "90", "1:30", "0:01:30" -> 90 seconds; false when the text is no time.
bool ParseScenarioTime(const std::string& text, double& seconds);

} // namespace vantrel::sim
