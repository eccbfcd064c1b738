#include "ipc/bridge_session.h"

#include "ipc/bridge_proof.h"
#include "ipc/bridge_wire.h"
#include "ipc/ipc_server_walk.h"

#include <cstring>

namespace vantrel {

BridgeSession::BridgeSession(std::string token, BridgeSimulator& simulator)
    : token_(std::move(token)), simulator_(simulator) {}

bool BridgeSession::Feed(const char* data, std::size_t size, std::string& out) {
    std::size_t at = 0;
    while (at < size) {
        if (state_ == State::kBlock) {
            const std::size_t take = std::min(size - at, length_ - received_);
            std::memcpy(block_.data() + received_, data + at, take);
            received_ += take;
            at += take;
            if (received_ == length_) {
                Serve(out);
                state_ = State::kCommand;
            }
            continue;
        }
        const char c = data[at++];
        if (c != '\n') {
            line_ += c;
            if (line_.size() >= bridge::kMaxLine) return false;
            continue;
        }
        const std::string line = std::move(line_);
        line_.clear();
        if (!Line(line, out)) return false;
    }
    return true;
}

// "hello <client nonce>" is answered with the bridge's nonce and proof; "proof <client proof>"
// must then hold before any command is taken.
bool BridgeSession::Greeting(const std::string& line, std::string& out) {
    if (state_ == State::kHello) {
        const std::string verb = "hello ";
        if (line.compare(0, verb.size(), verb) != 0 || !bridge::IsNonce(line.substr(verb.size())))
            return false;
        client_nonce_ = line.substr(verb.size());
        bridge_nonce_ = bridge::FreshNonce();
        const std::string proof = bridge::Proof(token_, bridge::Role::kBridge, client_nonce_, bridge_nonce_);
        if (bridge_nonce_.empty() || proof.empty()) return false;
        out += "proof " + bridge_nonce_ + " " + proof + "\n";
        state_ = State::kProof;
        return true;
    }
    const std::string verb = "proof ";
    if (line.compare(0, verb.size(), verb) != 0 ||
        !bridge::ProofHolds(line.substr(verb.size()), token_, bridge::Role::kClient, client_nonce_,
                            bridge_nonce_))
        return false;
    state_ = State::kCommand;
    return true;
}

bool BridgeSession::Line(const std::string& line, std::string& out) {
    if (!Authenticated()) return Greeting(line, out);
    if (line == "find") {
        const std::string found = simulator_.FindWindowClass();
        out += (found.empty() ? "none" : found) + "\n";
        return true;
    }
    if (const std::string verb = "window "; line.compare(0, verb.size(), verb) == 0) {
        const std::string window_class = line.substr(verb.size());
        if (!bridge::IsWindowClassName(window_class)) return false;
        out += simulator_.WindowExists(window_class) ? "yes\n" : "no\n";
        return true;
    }
    if (!bridge::ParseSendLine(line, timeout_ms_, length_)) return false;
    received_ = 0;
    state_ = State::kBlock;
    return true;
}

void BridgeSession::Serve(std::string& out) {
    std::size_t used = 0;
    if (!CheckBlock(block_.data(), length_, used) || used != length_) {
        out += "0\n";
        return;
    }
    std::memcpy(sent_.data(), block_.data(), used);
    std::uintptr_t answer = 0;
    switch (simulator_.Exchange(block_.data(), used, bridge::SimulatorTimeout(timeout_ms_), answer)) {
    case BridgeSimulator::Outcome::kTimedOut:
        out += "timeout\n";
        return;
    case BridgeSimulator::Outcome::kFailed:
        out += "failed\n";
        return;
    case BridgeSimulator::Outcome::kAnswered:
        break;
    }
    std::size_t answered_used = 0;
    if (answer != 1 || !CheckBlock(block_.data(), used, answered_used) || answered_used != used ||
        !SameRequests(sent_.data(), block_.data(), used)) {
        out += "0\n";
        return;
    }
    out += "1 " + std::to_string(used) + "\n";
    out.append(reinterpret_cast<const char*>(block_.data()), used);
}

} // namespace vantrel
