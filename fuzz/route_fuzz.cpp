// Feeds arbitrary airport databases, codes, winds and allowances through the route recompute
// and its ripple (weights, speeds). Input: three code lines, a line "wind1 wind2 allowance
// signs", then the database text. Any field showing "inf" or "nan", a crash or undefined
// behaviour is a finding; the plan's own errors (conversion, file) are expected.
#include "planning/flight_plan.h"
#include "planning/route.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace vantrel;

namespace {

std::string SpeedBlock(const std::string& marker, int rows) {
    std::string text = "//" + marker + "\n";
    for (int r = 0; r < rows; ++r)
        text += std::to_string(140 - r) + "\n";
    return text;
}

// The speed tables' folder of this run, removed when the run ends.
struct RunFolder {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("vantrel-route-fuzz-" + std::to_string(::getpid()));
    ~RunFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

std::string ProgramDir() {
    static const RunFolder folder;
    const std::filesystem::path& dir = folder.dir;
    std::filesystem::create_directories(dir / "speeds");
    std::string takeoff;
    for (const char* m : {"AV1", "AVR", "AV2", "BV1", "BVR", "BV2", "CV1", "CVR", "CV2", "TGT", "VFS"})
        takeoff += SpeedBlock(m, 20);
    std::ofstream(dir / "speeds/speeds9.txt") << takeoff;
    const std::string landing =
        SpeedBlock("VREF", 21) + SpeedBlock("VGA9", 21) + SpeedBlock("VFS", 21) + SpeedBlock("TGT", 21);
    std::ofstream(dir / "speeds/speeds22.txt") << landing;
    std::ofstream(dir / "speeds/speeds45.txt") << landing;
    return dir.string() + "/";
}

void FillTables(PerformanceTables& t) {
    for (int b = 0; b < PerformanceTables::kBands; ++b) {
        for (int k = 0; k < PerformanceTables::kColumns; ++k) {
            t.FC[b][k] = static_cast<std::uint16_t>(350 + 30 * b + 12 * k);
            t.CT[b][k] = 4.5 + 0.6 * b + 0.2 * k;
        }
        t.FF[b] = static_cast<std::uint16_t>(3400 - 45 * b);
        t.CS[b] = static_cast<std::uint16_t>(300 + 5 * b);
        t.DT[b] = 2 + 0.55 * (b + 10);
    }
}

std::string NextLine(std::string& input) {
    const std::size_t end = input.find('\n');
    std::string line = input.substr(0, end);
    input = end == std::string::npos ? std::string() : input.substr(end + 1);
    return line;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string programDir = ProgramDir();
    std::string input(reinterpret_cast<const char*>(data), size);
    const std::string codes[3] = {NextLine(input), NextLine(input), NextLine(input)};
    const std::string settings = NextLine(input);

    FlightPlan plan;
    plan.paths.ProgramDir = programDir;
    FillTables(plan.tables);
    plan.airports.LoadText(input);
    if (settings.find('k') != std::string::npos) {
        plan.values.WeightsInKg = true;
        plan.values.WeightUnitFactor = kKilogramFactor;
    }
    // "wind1 wind2 allowance" as typed text, signs from the letters '-' and '~'.
    std::string words[3];
    std::size_t w = 0;
    for (char c : settings) {
        if (c == ' ') {
            if (++w == 3) break;
        } else if (c != '-' && c != '~' && c != 'k') {
            words[w] += c;
        }
    }
    plan.UserSelect(FieldId::ComboBox1, settings.find('-') != std::string::npos ? 1 : 0);
    plan.UserSelect(FieldId::ComboBox2, settings.find('~') != std::string::npos ? 1 : 0);
    plan.UserSetText(FieldId::Edit9, words[0]);
    plan.UserSetText(FieldId::Edit10, words[1]);
    plan.UserSetText(FieldId::Edit6, words[2]);
    plan.UserSetText(FieldId::Edit1, codes[0]);
    plan.UserSetText(FieldId::Edit2, codes[1]);
    plan.UserSetText(FieldId::Edit3, codes[2]);

    for (int f = 0; f < kFieldCount; ++f) {
        const std::string& text = plan.Text(static_cast<FieldId>(f));
        // Codes and the typed fields hold the fuzzer's own text.
        if (f <= static_cast<int>(FieldId::Edit3) || static_cast<FieldId>(f) == FieldId::Edit6 ||
            static_cast<FieldId>(f) == FieldId::Edit9 || static_cast<FieldId>(f) == FieldId::Edit10)
            continue;
        if (text.find("inf") != std::string::npos || text.find("nan") != std::string::npos) std::abort();
    }
    return 0;
}
