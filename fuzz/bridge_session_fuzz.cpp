// Feeds arbitrary byte streams, in arbitrary pieces, to a bridge session: whatever a peer
// sends, the session stays inside its buffers, never hands the simulator a block that fails
// the record check, and answers nothing but its own proof before the client has proved the token.
#include "ipc/bridge_proof.h"
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
    // The first byte picks the piece size; with its high bit the client proves the token first,
    // so that the stream reaches the commands.
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    std::string out;
    if (data[0] & 0x80) {
        const std::string nonce(64, '1'), hello = "hello " + nonce + "\n";
        session.Feed(hello.data(), hello.size(), out);
        const std::string proof =
            "proof " +
            vantrel::bridge::Proof(kToken, vantrel::bridge::Role::kClient, nonce, out.substr(6, 64)) + "\n";
        out.clear();
        if (!session.Feed(proof.data(), proof.size(), out) || !session.Authenticated() || !out.empty())
            std::abort();
    }
    const std::string stream(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        const bool keep = session.Feed(stream.data() + at, std::min(piece, stream.size() - at), out);
        // Before the proof: at most the bridge's own proof line.
        if (!session.Authenticated() && !out.empty() &&
            (out.size() != 136 || out.compare(0, 6, "proof ") != 0))
            std::abort();
        if (!keep) break;
    }
    return 0;
}
