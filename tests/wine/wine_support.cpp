#include "wine_support.h"

#include "support/helper_reaper.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>

namespace vantrel::wine {

namespace {

// A prefix the environment names instead of the build's (VANTREL_TEST_WINE_PREFIX,
// VANTREL_TEST_WINE32_PREFIX: the ordinary user's stage runs in prefixes of that user's own).
std::string PrefixPath(Prefix prefix) {
    const char* named =
        std::getenv(prefix == Prefix::kWin32 ? "VANTREL_TEST_WINE32_PREFIX" : "VANTREL_TEST_WINE_PREFIX");
    if (named != nullptr && *named != '\0') return named;
    return prefix == Prefix::kWin32 ? VANTREL_WINE32_PREFIX : VANTREL_WINE_PREFIX;
}

// The environment every Wine child gets: its prefix, and quiet.
void PrepareEnvironment(Prefix prefix) {
    setenv("WINEPREFIX", PrefixPath(prefix).c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
    [[maybe_unused]] static const bool registered = [] {
        if (std::string(VANTREL_WINESERVER).size() > 0)
            test::EndWinePrefixIfKilled(VANTREL_WINESERVER, VANTREL_WINE_PREFIX);
        return true;
    }();
}

int MillisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
            .count();
    return left > 0 ? int(left) : 0;
}

} // namespace

bool Available() {
    return std::string(VANTREL_WINE).size() > 0 && access(VANTREL_WINE, X_OK) == 0;
}

bool Win32Available() {
    return std::string(VANTREL_WINE32).size() > 0 && access(VANTREL_WINE32, X_OK) == 0;
}

std::string ThirtyTwoBit(const std::string& name) {
    return std::string(VANTREL_WINDOWS_I686_DIR) + "/" + name;
}

namespace {

std::vector<std::string> Command(const std::string& name, std::vector<std::string> args, bool native,
                                 Prefix prefix) {
    PrepareEnvironment(prefix);
    std::vector<std::string> all;
    if (native) {
        all.push_back(std::string(VANTREL_OUT_DIR) + "/" + name);
    } else {
        // A 32-bit program runs under 32-bit Wine's loader in either prefix, as "wine" starts
        // it; started by the 64-bit one it would be a child of a stub that keeps Ctrl+C from it.
        const bool i686 = name.rfind(VANTREL_WINDOWS_I686_DIR, 0) == 0;
        all.push_back((prefix == Prefix::kWin32 || i686) && Win32Available() ? VANTREL_WINE32 : VANTREL_WINE);
        all.push_back(name.rfind('/', 0) == 0 ? name : std::string(VANTREL_WINDOWS_DIR) + "/" + name);
    }
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

} // namespace

Program::Program(const std::string& name, std::vector<std::string> args, bool native, Prefix prefix)
    : child_(Command(name, std::move(args), native, prefix)) {}

Program::~Program() = default;

std::string Program::Line(int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (const std::size_t nl = pending_.find('\n'); nl != std::string::npos) {
            std::string line = pending_.substr(0, nl);
            pending_.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        const int left = MillisecondsLeft(deadline);
        if (left == 0) return "";
        std::string more;
        const bool open = child_.Read(left, more);
        pending_ += more;
        output_ += more;
        if (!open) return "";
    }
}

std::string Program::WaitFor(const std::string& start, int timeout_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        const int left = MillisecondsLeft(deadline);
        if (left == 0) return "";
        const std::string line = Line(left);
        if (line.compare(0, start.size(), start) == 0) return line;
        if (line.empty() && MillisecondsLeft(deadline) == 0) return "";
    }
}

void Program::Send(const std::string& line) {
    child_.Send(line);
}

std::string Program::Ask(const std::string& line, int timeout_ms) {
    Send(line);
    return Line(timeout_ms);
}

void Program::Kill() {
    child_.Kill();
}

void Program::Interrupt() {
    child_.Signal(SIGINT);
}

int Program::Wait(int timeout_ms) {
    return child_.Wait(timeout_ms);
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

} // namespace vantrel::wine
