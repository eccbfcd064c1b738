// vantrel-sim as a separate process, reached through the real posix transport.
#include "ipc_test_support.h"

#include "ipc/ipc_wire.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vantrel {
namespace {

using test::MakeClient;
using test::SimProcess;
using test::TempIpcDir;

std::string Scenario(const std::string& name) {
    return std::string(VANTREL_SOURCE_DIR) + "/data/scenarios/" + name;
}

// What the data load reads, plus the weather.
struct Snapshot {
    std::uint16_t fuel_weight = 0;
    std::uint32_t left_level = 0, right_level = 0, altitude_m = 0;
    std::int32_t ias = 0;
    std::uint16_t on_ground = 0;
    std::int16_t qnh = 0, oat = 0;
};

bool Load(IpcClient& client, Snapshot& s) {
    std::uint32_t r = 0;
    return client.FSUIPC_Read(0x0AF4, 2, &s.fuel_weight, r) &&
           client.FSUIPC_Read(0x0B7C, 4, &s.left_level, r) &&
           client.FSUIPC_Read(0x0B94, 4, &s.right_level, r) &&
           client.FSUIPC_Read(0x0574, 4, &s.altitude_m, r) && client.FSUIPC_Read(0x02BC, 4, &s.ias, r) &&
           client.FSUIPC_Read(0x0366, 2, &s.on_ground, r) && client.FSUIPC_Read(0x0F48, 2, &s.qnh, r) &&
           client.FSUIPC_Read(0x0E8C, 2, &s.oat, r) && client.FSUIPC_Process(r);
}

// Sends one raw request line and returns the answer line ("" when none came).
std::string RawRequest(const std::string& dir, const std::string& line) {
    const int fd = ConnectUnixSocket(dir + "/FS98MAIN");
    if (fd < 0) return "no connection";
    send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    std::string answer;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 2000) <= 0) break;
        char buffer[64];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        answer.append(buffer, std::size_t(n));
        if (answer.find('\n') != std::string::npos) break;
    }
    close(fd);
    return answer;
}

class SimProcessTest : public ::testing::Test {
protected:
    TempIpcDir dir;
    std::uint32_t result = 99;
};

TEST_F(SimProcessTest, FlightFromHamburgToAmsterdam) {
    SimProcess sim(dir.Path(), {"--scenario", Scenario("eddh-eham.txt"), "--scale", "600", "--quiet"});
    ASSERT_TRUE(sim.WaitFor("listening"));
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    Snapshot first;
    ASSERT_TRUE(Load(*client, first));
    EXPECT_EQ(first.on_ground, 1);
    EXPECT_EQ(first.qnh, 1016 * 16);
    EXPECT_EQ(first.fuel_weight, std::uint16_t(6.7 * 256 + 0.5));

    bool airborne = false, above_5000 = false, landed = false;
    std::uint32_t highest = 0;
    std::int32_t fastest = 0;
    Snapshot last;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline && !landed) {
        ASSERT_TRUE(Load(*client, last));
        airborne = airborne || last.on_ground == 0;
        landed = airborne && last.on_ground == 1;
        above_5000 = above_5000 || last.altitude_m * 3.28084 > 5000;
        highest = std::max(highest, last.altitude_m);
        fastest = std::max(fastest, last.ias);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(airborne);
    EXPECT_TRUE(above_5000);
    EXPECT_TRUE(landed);
    EXPECT_NEAR(highest * 3.28084, 24000, 150);
    EXPECT_GT(fastest / 128, 200);
    EXPECT_LT(last.left_level, first.left_level); // fuel burnt
    ASSERT_TRUE(sim.WaitFor("say EHAM stand", 10000));
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(SimProcessTest, WeatherChangeStartsWithoutWeather) {
    SimProcess sim(dir.Path(), {"--scenario", Scenario("weather-change.txt"), "--quiet"});
    ASSERT_TRUE(sim.WaitFor("listening"));
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    Snapshot s;
    ASSERT_TRUE(Load(*client, s));
    EXPECT_LT(s.qnh / 16, 500); // the monitor treats this as "no data yet"
    sim.Send("scale 600");
    ASSERT_TRUE(sim.WaitFor("say front passing", 20000));
    ASSERT_TRUE(Load(*client, s));
    EXPECT_EQ(s.qnh, 996 * 16);
    EXPECT_NEAR(s.oat / 256.0, 7 - 0.0, 0.01);
}

TEST_F(SimProcessTest, LongWaitOnTheGroundWhileRefuelling) {
    SimProcess sim(dir.Path(), {"--scenario", Scenario("refuel-wait.txt"), "--scale", "3000"});
    ASSERT_TRUE(sim.WaitFor("listening"));
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    const std::uint32_t full = 128 * 65536;
    ASSERT_TRUE(client->FSUIPC_Write(0x0B7C, 4, &full, result));
    ASSERT_TRUE(client->FSUIPC_Write(0x0B94, 4, &full, result));
    ASSERT_TRUE(client->FSUIPC_Process(result));
    EXPECT_TRUE(sim.WaitFor("write 0x0B7C 4 00 00 80 00 = 8388608"));
    ASSERT_TRUE(sim.WaitFor("say ready for departure", 15000));
    Snapshot s;
    ASSERT_TRUE(Load(*client, s));
    EXPECT_EQ(s.left_level, full); // engines off: nothing burnt in three hours
    EXPECT_EQ(s.right_level, full);
    EXPECT_EQ(s.on_ground, 1);
}

TEST_F(SimProcessTest, CommandsAndClientWritesAndTheSpeedLag) {
    SimProcess sim(dir.Path());
    ASSERT_TRUE(sim.WaitFor("listening"));
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    sim.Send("qnh 990");
    sim.Send("oat -3.5");
    sim.Send("fuel 3000 2000");
    sim.Send("set 0x4000 2 0xBEEF");
    sim.Send("nonsense 1 2");
    sim.Send("status");
    ASSERT_TRUE(sim.WaitFor("status"));
    EXPECT_NE(sim.Output().find("error: unknown command: nonsense 1 2"), std::string::npos);
    Snapshot s;
    std::uint16_t raw = 0;
    ASSERT_TRUE(client->FSUIPC_Read(0x4000, 2, &raw, result));
    ASSERT_TRUE(Load(*client, s));
    EXPECT_EQ(s.qnh, 990 * 16);
    EXPECT_EQ(s.oat, -3.5 * 256);
    EXPECT_NEAR(s.left_level / 8388608.0 * 846 * 6.7, 3000, 2);
    EXPECT_EQ(raw, 0xBEEF);

    const std::uint8_t clock[] = {14, 30, 5, 13, 30};
    const std::uint16_t day = 342;
    ASSERT_TRUE(client->FSUIPC_Write(0x0238, 5, clock, result));
    ASSERT_TRUE(client->FSUIPC_Write(0x023E, 2, &day, result));
    const std::int16_t lever = 16383;
    ASSERT_TRUE(client->FSUIPC_Write(0x088C, 2, &lever, result));
    ASSERT_TRUE(client->FSUIPC_Write(0x0924, 2, &lever, result));
    ASSERT_TRUE(client->FSUIPC_Process(result));
    EXPECT_TRUE(sim.WaitFor("write 0x0238 5 0E 1E 05 0D 1E"));
    EXPECT_TRUE(sim.WaitFor("write 0x023E 2 56 01 = 342"));

    // Full levers on the ground: the speed rises toward 170 kt with a lag of seconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(Load(*client, s));
    EXPECT_GT(s.ias, 0);
    EXPECT_LT(s.ias / 128, 60);
    sim.Send("scale 100");
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    ASSERT_TRUE(Load(*client, s));
    EXPECT_NEAR(s.ias / 128.0, 170, 2);
}

TEST_F(SimProcessTest, ServerKilledMidFlightThenBackAgain) {
    auto sim = std::make_unique<SimProcess>(dir.Path());
    ASSERT_TRUE(sim->WaitFor("listening"));
    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    Snapshot s;
    ASSERT_TRUE(Load(*client, s));
    sim->Kill();
    s.qnh = 42;
    EXPECT_FALSE(Load(*client, s));
    std::uint32_t r = 0;
    std::uint16_t ground = 0;
    client->FSUIPC_Read(0x0366, 2, &ground, r);
    EXPECT_FALSE(client->FSUIPC_Process(r));
    EXPECT_TRUE(r == kIpcTimedOut || r == kIpcSendFailed) << r;
    EXPECT_EQ(s.qnh, 42); // destinations untouched
    client->FSUIPC_Close();
    EXPECT_FALSE(client->FSUIPC_Open(0, result)); // the socket file is a leftover
    EXPECT_EQ(result, kIpcNoServer);

    sim = std::make_unique<SimProcess>(dir.Path());
    ASSERT_TRUE(sim->WaitFor("listening"));
    ASSERT_TRUE(client->FSUIPC_Open(0, result));
    EXPECT_TRUE(Load(*client, s));
    EXPECT_EQ(sim->Stop(), 0);
    EXPECT_NE(access((dir.Path() + "/FS98MAIN").c_str(), F_OK), 0); // removed on exit
}

// Each client owns an offset, writes a counter and reads it back, many times over.
bool ClientRounds(const std::string& dir, std::uint32_t offset, int rounds) {
    auto client = MakeClient(dir, IpcTimings{});
    std::uint32_t r = 0;
    if (!client->FSUIPC_Open(0, r)) return false;
    for (std::uint32_t i = 1; i <= std::uint32_t(rounds); ++i) {
        std::uint32_t back = 0;
        if (!client->FSUIPC_Write(offset, 4, &i, r) || !client->FSUIPC_Read(offset, 4, &back, r) ||
            !client->FSUIPC_Process(r) || back != i)
            return false;
    }
    return true;
}

TEST_F(SimProcessTest, TwoClientsAtOnce) {
    SimProcess sim(dir.Path(), {"--quiet"});
    ASSERT_TRUE(sim.WaitFor("listening"));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(ClientRounds(dir.Path(), 0x4100, 500) ? 0 : 1);
    const bool mine = ClientRounds(dir.Path(), 0x4000, 500);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(mine);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    sim.Send("get 4000 4");
    sim.Send("get 4100 4");
    EXPECT_TRUE(sim.WaitFor("value 0x4000 4 = 500"));
    EXPECT_TRUE(sim.WaitFor("value 0x4100 4 = 500"));
}

TEST_F(SimProcessTest, MalformedRequestsGetZeroAndTheServerGoesOn) {
    SimProcess sim(dir.Path(), {"--uipc"});
    ASSERT_TRUE(sim.WaitFor("listening"));
    EXPECT_EQ(RawRequest(dir.Path(), std::string(300, 'x') + "\n"), "0\n");
    EXPECT_EQ(RawRequest(dir.Path(), "FsasmLib:IPC ../../etc/passwd\n"), "0\n");
    EXPECT_EQ(RawRequest(dir.Path(), "FsasmLib:IPC FsasmLib:IPC:12G:1\n"), "0\n");
    EXPECT_EQ(RawRequest(dir.Path(), "FsasmLib:IPC FsasmLib:IPC:FFFFFFF:1\n"), "0\n"); // no such block
    EXPECT_EQ(RawRequest(dir.Path(), "hello\n"), "0\n");

    // A block too small for the format, and a block full of garbage.
    const std::string small = "FsasmLib:IPC:7E57:2", garbage = "FsasmLib:IPC:7E57:3";
    int fd = shm_open(("/" + small).c_str(), O_CREAT | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 100), 0);
    close(fd);
    EXPECT_EQ(RawRequest(dir.Path(), "FsasmLib:IPC " + small + "\n"), "0\n");
    shm_unlink(("/" + small).c_str());
    fd = shm_open(("/" + garbage).c_str(), O_CREAT | O_RDWR, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, ipc::kBlockSize), 0);
    auto* view = static_cast<std::uint8_t*>(mmap(nullptr, ipc::kBlockSize, PROT_WRITE, MAP_SHARED, fd, 0));
    for (std::size_t i = 0; i < ipc::kBlockSize; ++i)
        view[i] = std::uint8_t(i * 37 + 1);
    EXPECT_EQ(RawRequest(dir.Path(), "FsasmLib:IPC " + garbage + "\n"), "0\n");
    ipc::StoreU32(view, 2), ipc::StoreU32(view + 4, 0x4000), ipc::StoreU32(view + 8, 1), view[12] = 7;
    ipc::StoreU32(view + 13, 0);
    EXPECT_EQ(RawRequest(dir.Path(), "FsasmLib:IPC " + garbage + "\n"), "1\n");
    munmap(view, ipc::kBlockSize);
    close(fd);
    shm_unlink(("/" + garbage).c_str());

    auto client = MakeClient(dir.Path());
    ASSERT_TRUE(client->FSUIPC_Open(0, result)); // through UIPCMAIN
    std::uint8_t seven = 0;
    ASSERT_TRUE(client->FSUIPC_Read(0x4000, 1, &seven, result));
    ASSERT_TRUE(client->FSUIPC_Process(result));
    EXPECT_EQ(seven, 7);
    EXPECT_EQ(sim.Stop(), 0);
}

TEST_F(SimProcessTest, CliReadsAndWritesOffsetsAsJson) {
    SimProcess sim(dir.Path());
    ASSERT_TRUE(sim.WaitFor("listening"));
    const std::string command =
        test::ProgramPath("vantrel-cli") +
        " ipc --write 0x0B7C:4=8388608 --read 0x0B7C:4 --read 0x0E8C:2 --read 0x0100:3";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string json;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        json.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_NE(json.find("\"open\": {\"result\": 0, \"text\": \"Okay\"}"), std::string::npos) << json;
    EXPECT_NE(json.find("\"simulator_code\": 7"), std::string::npos);
    EXPECT_NE(json.find("{\"offset\": \"0x0B7C\", \"size\": 4, \"hex\": \"00008000\", \"unsigned\": 8388608, "
                        "\"signed\": 8388608}"),
              std::string::npos)
        << json;
    EXPECT_NE(
        json.find(
            "{\"offset\": \"0x0E8C\", \"size\": 2, \"hex\": \"000F\", \"unsigned\": 3840, \"signed\": 3840}"),
        std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"offset\": \"0x0100\", \"size\": 3, \"hex\": \"000000\"}"), std::string::npos)
        << json;
    EXPECT_TRUE(sim.WaitFor("write 0x0B7C 4 00 00 80 00 = 8388608"));

    EXPECT_EQ(
        system((test::ProgramPath("vantrel-cli") + " ipc --read 0x0574 2>/dev/null >/dev/null").c_str()) >> 8,
        2);
    sim.Kill();
    pipe = popen((test::ProgramPath("vantrel-cli") + " ipc").c_str(), "r");
    json.clear();
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe))
        json.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(json, "{\"open\": {\"result\": 2, \"text\": \"Cannot link to FSUIPC or WideClient\"}}\n");
}

// A crashed process may leave its block behind; a later process that happens to get the same
// id removes it on its first open. exec keeps the process id, so the child plants the leftover
// and then becomes vantrel-cli.
TEST_F(SimProcessTest, FirstOpenRemovesALeftoverOfTheSameProcessId) {
    SimProcess sim(dir.Path(), {"--quiet"});
    ASSERT_TRUE(sim.WaitFor("listening"));
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const std::string program = test::ProgramPath("vantrel-cli");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string leftover = "/" + MappingName(CurrentProcessId(), 1);
        const int fd = shm_open(leftover.c_str(), O_CREAT | O_RDWR, 0600);
        if (fd < 0 || ftruncate(fd, 100) != 0) _exit(3);
        dup2(out[1], 1);
        execl(program.c_str(), program.c_str(), "ipc", "--read", "0x0366:2", static_cast<char*>(nullptr));
        _exit(4);
    }
    close(out[1]);
    std::string json;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        json.append(buffer, std::size_t(n));
    close(out[0]);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_NE(json.find("\"open\": {\"result\": 0"), std::string::npos) << json;
    const int gone = shm_open(("/" + MappingName(std::uint32_t(child), 1)).c_str(), O_RDONLY, 0);
    EXPECT_LT(gone, 0); // and the client removed its own block on close
}

} // namespace
} // namespace vantrel
