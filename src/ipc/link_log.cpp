#include "ipc/link_log.h"

#include "core/event_log.h"
#include "ipc/ipc_result.h"

#include <string>

namespace vantrel {

namespace {

// An exchange that takes longer than this is worth a line even when it is answered.
constexpr auto kStalledAfter = std::chrono::milliseconds(1000);

std::string ResultLine(std::uint32_t result) {
    return std::to_string(result) + " (" + IpcResultText(result) + ")";
}

long long Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

} // namespace

void LinkLog::Opened(bool ok, std::uint32_t result, std::uint32_t simulator, bool throughFs98) {
    if (result == kIpcAlreadyOpen) return;
    if (ok) {
        const std::string name = SimulatorName(simulator);
        std::string text = std::string(opens_ > 0 ? "link opened again" : "link opened") +
                           ": simulator code " + std::to_string(simulator) +
                           (name.empty() ? "" : " (" + name + ")") + " through " +
                           (throughFs98 ? "FS98MAIN" : "UIPCMAIN");
        if (failedOpens_ > 0) text += ", after " + std::to_string(failedOpens_) + " tries that failed";
        LogEvent("link", text);
        ++opens_;
        open_ = true;
        failedOpens_ = 0;
        lastFailure_ = 0;
        return;
    }
    ++failedOpens_;
    if (result != lastFailure_) LogEvent("link", "link not opened: result " + ResultLine(result));
    lastFailure_ = result;
}

void LinkLog::Closed() {
    if (open_) LogEvent("link", "link closed");
    open_ = false;
}

void LinkLog::Exchanged(bool ok, std::uint32_t result, std::size_t bytes,
                        std::chrono::steady_clock::duration took) {
    if (!ok) {
        LogEvent("link", "exchange failed after " + std::to_string(Milliseconds(took)) + " ms: result " +
                             ResultLine(result));
    } else if (took >= kStalledAfter) {
        LogEvent("link", "exchange answered after a stall of " + std::to_string(Milliseconds(took)) + " ms");
    } else if (EventLogWants(LogLevel::kDetail)) {
        LogDetail("link", "exchange of " + std::to_string(bytes) + " bytes in " +
                              std::to_string(Milliseconds(took)) + " ms");
    }
}

void LogBridgeRefused(std::string_view why) {
    LogChange("bridge", "state", "bridge refused: " + std::string(why));
}

void LogBridgeAccepted(std::uint16_t port) {
    LogChange("bridge", "state", "bridge accepted on port " + std::to_string(port) + ": both proofs held");
}

bool BridgeRefused(std::string_view why) {
    LogBridgeRefused(why);
    return false;
}

int BridgeConnectionRefused(std::string_view why) {
    LogBridgeRefused(why);
    return -1;
}

void LogTransportChosen(std::string_view transport) {
    LogChange("link", "transport", "transport: " + std::string(transport));
}

} // namespace vantrel
