// Feeds arbitrary byte streams, in arbitrary pieces, to a bridge session: whatever a peer
// sends, the session stays inside its buffers, never hands the simulator a block that fails
// the record check, and answers nothing before the token.
#include "ipc/bridge_session.h"
#include "ipc/ipc_server_walk.h"
#include "ipc/offset_space.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

class CheckingSimulator : public vantrel::BridgeSimulator {
public:
    vantrel::OffsetSpace space{0x36140000, 0xFADE0007};
    std::string FindWindowClass() override { return "FS98MAIN"; }
    bool WindowExists(const std::string& window_class) override { return window_class == "FS98MAIN"; }
    Outcome Exchange(std::uint8_t* block, std::size_t used, int, std::uintptr_t& answer) override {
        std::size_t checked = 0;
        if (!vantrel::CheckBlock(block, used, checked) || checked != used) std::abort();
        answer = vantrel::ServeBlock(block, used, space) ? 1 : 0;
        return Outcome::kAnswered;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string kToken(64, 'a');
    CheckingSimulator simulator;
    vantrel::BridgeSession session(kToken, simulator);
    // The first byte picks the piece size; a stream with the token prefixed reaches the rest.
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    std::string stream = (data[0] & 0x80) ? "token " + kToken + "\n" : "";
    stream.append(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string out;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        const bool keep = session.Feed(stream.data() + at, std::min(piece, stream.size() - at), out);
        if (!session.Authenticated() && !out.empty()) std::abort();
        if (!keep) break;
    }
    return 0;
}
