#include "cli/ipc_command.h"

#include "cli/json_writer.h"

#include "ipc/ipc_client.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace vantrel {

namespace {

using cli::JsonString;

struct Request {
    bool write = false;
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    std::int64_t value = 0;
    std::vector<std::uint8_t> bytes; // read answer or write data
};

// The reads of one data load, in the monitor's order.
const Request kDataLoad[] = {
    {false, 0x0AF4, 2, 0, {}}, {false, 0x0B80, 4, 0, {}}, {false, 0x0B98, 4, 0, {}},
    {false, 0x0B7C, 4, 0, {}}, {false, 0x0B94, 4, 0, {}}, {false, 0x0574, 4, 0, {}},
    {false, 0x088C, 2, 0, {}}, {false, 0x02BC, 4, 0, {}}, {false, 0x0366, 2, 0, {}},
};

constexpr std::uint32_t kMaxReadSize = 0x7F00;

int Usage() {
    std::fprintf(stderr,
                 "usage: vantrel-cli ipc [--read OFFSET:SIZE]... [--write OFFSET:SIZE=VALUE]...\n"
                 "  OFFSET in hex (0x0574), SIZE in bytes (writes: 1, 2, 4 or 8), VALUE an integer\n");
    return 2;
}

bool ParseNumber(const std::string& text, bool hex, std::int64_t& value) {
    if (text.empty()) return false;
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used, hex ? 16 : 0);
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseRequest(const std::string& text, bool write, Request& request) {
    const std::size_t colon = text.find(':');
    const std::size_t equals = text.find('=');
    if (colon == std::string::npos || (write != (equals != std::string::npos))) return false;
    std::int64_t offset = 0, size = 0;
    const std::string size_text = text.substr(colon + 1, write ? equals - colon - 1 : std::string::npos);
    if (!ParseNumber(text.substr(0, colon), true, offset) || !ParseNumber(size_text, false, size))
        return false;
    if (offset < 0 || offset > 0xFFFF || size < 0 || size > kMaxReadSize) return false;
    request = Request{write, std::uint32_t(offset), std::uint32_t(size), 0, {}};
    if (!write) {
        request.bytes.assign(std::size_t(size), 0);
        return true;
    }
    if (size != 1 && size != 2 && size != 4 && size != 8) return false;
    if (!ParseNumber(text.substr(equals + 1), false, request.value)) return false;
    for (std::int64_t i = 0; i < size; ++i)
        request.bytes.push_back(std::uint8_t(std::uint64_t(request.value) >> (8 * i)));
    return true;
}

std::string Hex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string ResultJson(std::uint32_t result) {
    return "{\"result\": " + std::to_string(result) + ", \"text\": " + JsonString(IpcResultText(result)) +
           "}";
}

std::string ReadJson(const Request& r) {
    std::string json =
        "{\"offset\": \"" + Hex(r.offset, 4) + "\", \"size\": " + std::to_string(r.size) + ", \"hex\": \"";
    for (std::uint8_t b : r.bytes) {
        char byte[3];
        std::snprintf(byte, sizeof byte, "%02X", b);
        json += byte;
    }
    json += "\"";
    if (r.size == 1 || r.size == 2 || r.size == 4 || r.size == 8) {
        std::uint64_t u = 0;
        for (std::uint32_t i = 0; i < r.size; ++i)
            u |= std::uint64_t(r.bytes[i]) << (8 * i);
        const unsigned bits = 8 * r.size;
        std::int64_t s = std::int64_t(u);
        if (bits < 64 && (u >> (bits - 1)) != 0) s = std::int64_t(u) - (std::int64_t(1) << bits);
        json += ", \"unsigned\": " + std::to_string(u) + ", \"signed\": " + std::to_string(s);
    }
    return json + "}";
}

} // namespace

int RunIpcCommand(int argc, char** argv) {
    std::vector<Request> requests;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        Request request;
        if ((arg == "--read" || arg == "--write") && i + 1 < argc &&
            ParseRequest(argv[i + 1], arg == "--write", request)) {
            requests.push_back(std::move(request));
            ++i;
        } else {
            return Usage();
        }
    }
    if (requests.empty()) requests.assign(std::begin(kDataLoad), std::end(kDataLoad));
    for (Request& r : requests)
        if (!r.write) r.bytes.assign(r.size, 0);

    IpcClient client;
    std::uint32_t result = 0;
    std::string json = "{\"open\": ";
    const bool opened = client.FSUIPC_Open(0, result);
    json += ResultJson(result);
    if (opened) {
        json += ", \"fsuipc_version\": \"" + Hex(client.FsuipcVersion(), 8) + "\"";
        json += ", \"simulator_code\": " + std::to_string(client.SimulatorVersion());
        json += ", \"simulator\": " + JsonString(SimulatorName(client.SimulatorVersion()));
        bool queued = true;
        for (Request& r : requests) {
            queued = r.write ? client.FSUIPC_Write(r.offset, r.size, r.bytes.data(), result)
                             : client.FSUIPC_Read(r.offset, r.size, r.bytes.data(), result);
            if (!queued) break;
        }
        const bool processed = queued && client.FSUIPC_Process(result);
        json += ", \"process\": " + ResultJson(result);
        std::string reads, writes;
        for (const Request& r : requests) {
            if (r.write) {
                writes += std::string(writes.empty() ? "" : ", ") + "{\"offset\": \"" + Hex(r.offset, 4) +
                          "\", \"size\": " + std::to_string(r.size) +
                          ", \"value\": " + std::to_string(r.value) + "}";
            } else if (processed) {
                reads += std::string(reads.empty() ? "" : ", ") + ReadJson(r);
            }
        }
        json += ", \"reads\": [" + reads + "], \"writes\": [" + writes + "]";
        client.FSUIPC_Close();
    }
    std::printf("%s}\n", json.c_str());
    return 0;
}

} // namespace vantrel
