#include "windows_program_support.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace vantrel::wine {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double Rms(const std::string& pcm) {
    double sum = 0;
    const std::size_t n = pcm.size() / 2;
    for (std::size_t i = 0; i < n; ++i) {
        const auto low = std::uint16_t(std::uint8_t(pcm[2 * i]));
        const auto high = std::uint16_t(std::uint8_t(pcm[2 * i + 1]));
        const auto s = std::int16_t(std::uint16_t(low | high << 8));
        sum += double(s) * s;
    }
    return n ? std::sqrt(sum / double(n)) : 0;
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quoted(const std::string& s) {
    return "'" + s + "'";
}

bool WaitUntil(const std::function<bool()>& condition, int timeout_ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (; !condition(); std::this_thread::sleep_for(std::chrono::milliseconds(100)))
        if (std::chrono::steady_clock::now() > until) return false;
    return true;
}

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

namespace {

std::map<std::string, std::string> ReadPairs(const fs::path& path) {
    std::map<std::string, std::string> pairs;
    std::istringstream in(ReadAll(path));
    for (std::string line; std::getline(in, line);)
        if (const auto eq = line.find('='); eq != std::string::npos)
            pairs[line.substr(0, eq)] = line.substr(eq + 1);
    return pairs;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = v << 8 | std::uint8_t(bytes.at(at + i));
    return v;
}

} // namespace

std::map<std::string, std::string> WaitForReport(const fs::path& dir, bool linked) {
    const fs::path text = dir / (linked ? "main-window-linked.txt" : "main-window-unlinked.txt");
    const std::string lamp = linked ? "00ff00" : "ff0000";
    std::map<std::string, std::string> shown;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (std::chrono::steady_clock::now() < until) {
        if (fs::exists(text)) shown = ReadPairs(text);
        // Before the first data load the actual fuel shows "=====".
        if (shown["Panel3"] == lamp && (!linked || IsNumber(shown["Edit28"]))) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return shown;
}

std::pair<unsigned, unsigned> PngSize(const std::string& png) {
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
    return {BigEndian32(png, 16), BigEndian32(png, 20)};
}

void WriteSimulatorSettings(const fs::path& programFolder, const fs::path& root) {
    const fs::path aircraft = root / "aircraft/ERJ145LR";
    fs::create_directories(root / "flights");
    fs::create_directories(aircraft / "panel");
    std::ofstream(aircraft / "panel/erj.ini") << "[ERJ]\r\n";
    // Wine gives a Windows program the Unix root as drive Z:, so these paths name the same files.
    std::ofstream(programFolder / "vn-erj145.ini")
        << "[folder]\r\nflights=" << (root / "flights").string()
        << "/\r\naircraft=" << (aircraft / "aircraft.cfg").string()
        << "\r\nerj=" << (aircraft / "panel/erj.ini").string() << "\r\n";
}

std::unique_ptr<Program> StartSimulatorWithWeather(const std::string& winsim) {
    auto simulator = std::make_unique<Program>(winsim);
    if (simulator->WaitFor("ready", 60000).empty()) {
        ADD_FAILURE() << "vantrel-winsim.exe did not start: " << simulator->Output();
        return nullptr;
    }
    // QNH 1013 hPa in sixteenths at 0F48.
    EXPECT_EQ(simulator->Ask("set F48 2 16208"), "set");
    return simulator;
}

void WindowsProgramTest::SetUp() {
    if (!Available()) GTEST_SKIP() << "wine is not installed";
    if (!fs::exists(fs::path(VANTREL_WINDOWS_DIR) / "vantrel.exe"))
        GTEST_SKIP() << "the Windows program was not built (no Windows kit: scripts/build-windows-kit.sh)";
    char pattern[] = "/tmp/vantrel-wine-program-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    program_ = dir_ / "program";
    fs::copy(VANTREL_WINDOWS_DIR, program_, fs::copy_options::recursive);
    setenv("VANTREL_IPC_DIR", (dir_ / "ipc").c_str(), 1);
}

void WindowsProgramTest::TearDown() {
    unsetenv("VANTREL_IPC_DIR");
    if (!dir_.empty()) fs::remove_all(dir_);
}

NullSink::NullSink(const fs::path& runtime) : runtime_(runtime) {
    fs::create_directories(runtime_);
    if (const char* previous = std::getenv("XDG_RUNTIME_DIR")) previousRuntime_ = previous;
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    setenv("PULSE_SERVER", ("unix:" + (runtime_ / "pulse/native").string()).c_str(), 1);
    daemon_ = std::make_unique<test::PipedChild>(
        std::vector<std::string>{"/usr/bin/pulseaudio", "-n", "--exit-idle-time=-1",
                                 "--load=module-null-sink", "--load=module-native-protocol-unix"});
    ready_ = WaitUntil([this] { return fs::exists(runtime_ / "pulse/native"); }, 10000);
}

NullSink::~NullSink() {
    recorder_.reset();
    daemon_.reset();
    unsetenv("PULSE_SERVER");
    if (previousRuntime_.empty())
        unsetenv("XDG_RUNTIME_DIR");
    else
        setenv("XDG_RUNTIME_DIR", previousRuntime_.c_str(), 1);
}

void NullSink::StartRecording() {
    recorder_ = std::make_unique<test::PipedChild>(std::vector<std::string>{
        "/bin/sh", "-c",
        "exec parec --device=null.monitor --format=s16le --rate=22050 --channels=1 --latency-msec=20 > " +
            Quoted((runtime_ / "monitor.raw").string())});
}

std::string NullSink::StopRecording() {
    recorder_.reset();
    return ReadAll(runtime_ / "monitor.raw");
}

} // namespace vantrel::wine
