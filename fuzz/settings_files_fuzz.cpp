// Feeds arbitrary bytes to the readers of the sectioned files and of Wine registry files, and
// checks that a key write changes nothing but the lines it means to: the file's other bytes
// survive, and the written value reads back.
#include "core/convert.h"
#include "core/profile_file.h"
#include "shell/aircraft_files.h"
#include "shell/sim_paths.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

std::string TempPath(const char* name) {
    static const std::string dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("vantrel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(d);
        return d.string();
    }();
    return dir + "/" + name;
}

// The file's lines without their line endings ("\n" or "\r\n"); no empty piece follows a
// final line ending.
std::vector<std::string> Pieces(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            pieces.push_back(text.substr(start));
            break;
        }
        std::size_t end = nl;
        if (end > start && text[end - 1] == '\r') --end;
        pieces.push_back(text.substr(start, end - start));
        start = nl + 1;
    }
    return pieces;
}

bool RemoveOne(std::vector<std::string>& pieces, const std::string& piece) {
    for (auto it = pieces.rbegin(); it != pieces.rend(); ++it)
        if (*it == piece) {
            pieces.erase(std::next(it).base());
            return true;
        }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string ini = TempPath("fuzz.ini");
    { std::ofstream(ini, std::ios::binary | std::ios::trunc) << input; }

    vantrel::ProfileFile file(ini);
    (void)file.ReadInteger("weight_and_balance", "empty_weight", 0);
    (void)file.ReadSections();
    (void)file.ReadSectionKeys("fltsim.0");
    (void)vantrel::ReadFlightAircraft(ini);
    try {
        (void)vantrel::ParseStationWeight(file.ReadString("weight_and_balance", "station_load.0", "0.0"));
    } catch (const vantrel::ConvertError&) {
    }
    (void)vantrel::ReadWineRegistryString(ini, "Software\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0",
                                          "EXE Path");

    // A write adds or replaces its own line (and at most its section header) and nothing else.
    const std::string value = "190.0, 190.0";
    try {
        file.WriteString("Payload.0", "PayloadList", value);
    } catch (const vantrel::UserError&) {
        return 0;
    }
    if (file.ReadString("Payload.0", "PayloadList", "") != value) std::abort();
    std::string lowered = input;
    for (char& c : lowered)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lowered.find("payloadlist") != std::string::npos) return 0;
    std::string after;
    vantrel::ReadWholeFile(ini, after);
    std::vector<std::string> in = Pieces(input);
    std::vector<std::string> out = Pieces(after);
    if (!RemoveOne(out, "PayloadList=" + value)) std::abort();
    if (std::count(out.begin(), out.end(), "[Payload.0]") > std::count(in.begin(), in.end(), "[Payload.0]"))
        RemoveOne(out, "[Payload.0]");
    // A write after an unterminated last line first gives it the file's line ending.
    const std::size_t nl = input.find('\n');
    const std::string ending =
        nl == std::string::npos ? "\n" : (nl > 0 && input[nl - 1] == '\r' ? "\r\n" : "\n");
    if (in != out && Pieces(input + ending) != out) std::abort();
    return 0;
}
