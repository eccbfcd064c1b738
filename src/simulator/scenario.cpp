#include "simulator/scenario.h"

#include "core/profile_file.h"

#include <algorithm>
#include <sstream>

namespace vantrel::sim {

bool ParseScenarioTime(const std::string& text, double& seconds) {
    std::istringstream in(text);
    double total = 0;
    int parts = 0;
    std::string part;
    while (std::getline(in, part, ':')) {
        if (part.empty() || part.find_first_not_of("0123456789.") != std::string::npos) return false;
        try {
            total = total * 60 + std::stod(part);
        } catch (const std::exception&) {
            return false;
        }
        if (++parts > 3) return false;
    }
    seconds = total;
    return parts > 0;
}

bool Scenario::Load(const std::string& path, std::string& reason) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        reason = "cannot read " + path;
        return false;
    }
    return Parse(text, reason);
}

bool Scenario::Parse(const std::string& text, std::string& reason) {
    events_.clear();
    next_ = 0;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        const std::size_t gap = line.find_first_of(" \t", start);
        double at = 0;
        if (!ParseScenarioTime(line.substr(start, gap - start), at)) {
            reason = "line " + std::to_string(number) + ": no time at the start";
            return false;
        }
        const std::size_t command = gap == std::string::npos ? gap : line.find_first_not_of(" \t", gap);
        events_.push_back({at, command == std::string::npos ? "" : line.substr(command)});
    }
    std::stable_sort(events_.begin(), events_.end(),
                     [](const Event& a, const Event& b) { return a.at < b.at; });
    return true;
}

std::vector<std::string> Scenario::Due(double seconds) {
    std::vector<std::string> due;
    while (next_ < events_.size() && events_[next_].at <= seconds)
        due.push_back(events_[next_++].command);
    return due;
}

} // namespace vantrel::sim
