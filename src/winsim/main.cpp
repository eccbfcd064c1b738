// vantrel-winsim.exe [--uipc] [--fsuipc-version HEX] [--simulator-version HEX]
// A stand-in simulator for Windows: hidden "FS98MAIN" (and with --uipc "UIPCMAIN") windows
// serving a 64 KiB offset space. Commands on standard input, one reply line each:
//   get OFFSET SIZE          the value stored there (unsigned decimal)
//   set OFFSET SIZE VALUE    stores a value
//   versions FSUIPC SIMULATOR  the version values served (hex)
//   hang MS                  stops answering for MS milliseconds, as a busy simulator does
//   hang-after-write OFFSET MS  the next block that writes OFFSET is applied, then the window
//                            stops answering for MS milliseconds ("hanging after the write")
//   hang-before-read MS      the next request waits MS milliseconds before its block is read
//                            ("hanging before the read")
//   writes OFFSET            how many applied blocks wrote OFFSET
//   resume                   ends a hang early
//   status                   requests served and refused, the client's library version
//   quit
// It starts as a simulator does with an aircraft parked in standard weather (QNH 1013 hPa,
// on the ground, fuel in the tanks, the clock at the system's UTC time).
#include "parked_aircraft.h"
#include "window_server.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using vantrel::OffsetSpace;
using vantrel::ServeParkedAircraft;
using vantrel::UtcTime;
using vantrel::WindowServer;

OffsetSpace* g_space = nullptr;
// Set by "resume", which the reading thread handles itself while the window's thread hangs.
HANDLE g_resume = nullptr;

bool ParseOffset(const char* text, std::uint32_t& offset, std::uint32_t& size) {
    char* end = nullptr;
    offset = std::uint32_t(std::strtoul(text, &end, 16));
    if (end == text || *end != ' ') return false;
    size = std::uint32_t(std::strtoul(end + 1, &end, 10));
    return (size >= 1 && size <= 8) && offset + size <= 0x10000;
}

std::string Command(WindowServer& server, const std::string& line) {
    std::uint32_t offset = 0, size = 0;
    if (line.rfind("get ", 0) == 0 && ParseOffset(line.c_str() + 4, offset, size)) {
        std::uint8_t bytes[8] = {};
        g_space->ReadOffsets(offset, bytes, size);
        unsigned long long value = 0;
        for (std::uint32_t i = 0; i < size; ++i)
            value |= (unsigned long long)bytes[i] << (8 * i);
        return "value " + std::to_string(value);
    }
    if (line.rfind("set ", 0) == 0 && ParseOffset(line.c_str() + 4, offset, size)) {
        const std::size_t value_at = line.find(' ', line.find(' ', 4) + 1);
        if (value_at == std::string::npos) return "refused";
        const unsigned long long value = std::strtoull(line.c_str() + value_at + 1, nullptr, 10);
        std::uint8_t bytes[8];
        for (std::uint32_t i = 0; i < 8; ++i)
            bytes[i] = std::uint8_t(value >> (8 * i));
        g_space->WriteOffsets(offset, bytes, size);
        return "set";
    }
    if (unsigned fsuipc = 0, simulator = 0;
        std::sscanf(line.c_str(), "versions %x %x", &fsuipc, &simulator) == 2) {
        g_space->SetVersions(fsuipc, simulator);
        return "versions";
    }
    if (line.rfind("hang ", 0) == 0) {
        const unsigned long ms = std::strtoul(line.c_str() + 5, nullptr, 10);
        ResetEvent(g_resume);
        std::printf("hanging\n");
        std::fflush(stdout);
        WaitForSingleObject(g_resume, DWORD(ms));
        return "answering";
    }
    if (unsigned hang_offset = 0, hang_ms = 0;
        std::sscanf(line.c_str(), "hang-after-write %x %u", &hang_offset, &hang_ms) == 2) {
        ResetEvent(g_resume);
        server.HangAfterWrite(hang_offset, DWORD(hang_ms), g_resume);
        return "armed";
    }
    if (unsigned stall_ms = 0; std::sscanf(line.c_str(), "hang-before-read %u", &stall_ms) == 1) {
        ResetEvent(g_resume);
        server.HangBeforeRead(DWORD(stall_ms), g_resume);
        return "armed";
    }
    if (unsigned written = 0; std::sscanf(line.c_str(), "writes %x", &written) == 1)
        return "writes " + std::to_string(server.WritesTo(written));
    if (line == "status")
        return "served " + std::to_string(server.Requests()) + " refused " +
               std::to_string(server.Refused()) + " library " +
               std::to_string(g_space->ClientLibraryVersion());
    if (line == "quit") {
        PostQuitMessage(0);
        return "quitting";
    }
    return "refused";
}

// Standard input is read on its own thread; each line is handed to the window's thread.
DWORD WINAPI ReadCommands(void* window) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        if (line == "resume") {
            SetEvent(g_resume);
            continue;
        }
        PostMessageA(HWND(window), WindowServer::kCommandMessage, 0, LPARAM(new std::string(line)));
    }
    PostMessageA(HWND(window), WindowServer::kCommandMessage, 0, LPARAM(new std::string("quit")));
    return 0;
}

// The system's UTC time as the simulator's clock shows it.
UtcTime SystemUtc() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int year = now.wYear;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int month = now.wMonth >= 1 && now.wMonth <= 12 ? now.wMonth : 1;
    return UtcTime{now.wHour, now.wMinute, now.wSecond,
                   kDaysBefore[month - 1] + now.wDay + (leap && month > 2 ? 1 : 0)};
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> classes = {"FS98MAIN"};
    std::uint32_t fsuipc_version = 0x36140000, simulator_version = 0xFADE0007;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--uipc") {
            classes.push_back("UIPCMAIN");
        } else if (arg == "--fsuipc-version" && i + 1 < argc) {
            fsuipc_version = std::uint32_t(std::strtoul(argv[++i], nullptr, 16));
        } else if (arg == "--simulator-version" && i + 1 < argc) {
            simulator_version = std::uint32_t(std::strtoul(argv[++i], nullptr, 16));
        } else {
            std::fprintf(stderr,
                         "usage: vantrel-winsim [--uipc] [--fsuipc-version HEX] [--simulator-version HEX]\n");
            return 2;
        }
    }
    OffsetSpace space(fsuipc_version, simulator_version);
    ServeParkedAircraft(space, SystemUtc());
    g_space = &space;
    WindowServer server(space);
    server.on_command = &Command;
    std::string reason;
    if (!server.Start(classes, reason)) {
        std::fprintf(stderr, "vantrel-winsim: %s\n", reason.c_str());
        return 1;
    }
    g_resume = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, &ReadCommands, server.Window(), 0, nullptr);
    std::printf("ready %lu\n", GetCurrentProcessId());
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
