#pragma once
#include "plan_fixture.h"
#include "planning/route.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vantrel::testing {

// One airport line in the database's fixed columns.
inline std::string AirportLine(const std::string& code, double lat, double lon,
                               const std::string& elevation) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%-4s%10.4f%10.4f  %s", code.c_str(), lat, lon, elevation.c_str());
    return buffer;
}

// A speed block whose value lines name the block and the row ("AV1:0", "AV1:1", ...), so a
// test sees which block and row a field came from.
inline std::string SpeedBlock(const std::string& marker, int rows, const std::string& tag = "") {
    std::string text = "//" + marker + "\r\n";
    for (int r = 0; r < rows; ++r)
        text += (tag.empty() ? marker : tag) + ":" + std::to_string(r) + "\r\n";
    return text;
}

// A program folder of its own with small speed files, and simple fuel tables:
// climb fuel grows by 10 lb per weight column, everything else is flat.
class RouteFixture : public PlanFixture {
public:
    std::filesystem::path dir;

    RouteFixture() {
        static std::atomic<int> counter{0};
        dir = std::filesystem::temp_directory_path() /
              ("vantrel-route-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(dir / "speeds");
        plan.paths.ProgramDir = dir.string() + "/";
        std::string takeoff = "title line\r\n";
        for (const char* table : {"A", "B", "C"})
            for (const char* speed : {"V1", "VR", "V2"})
                takeoff += SpeedBlock(std::string(table) + speed, 20);
        takeoff += SpeedBlock("TGT", 20, "TOTGT") + SpeedBlock("VFS", 20, "TOVFS");
        Write("speeds/speeds9.txt", takeoff);
        for (const char* flaps : {"22", "45"}) {
            const std::string f = flaps;
            Write("speeds/speeds" + f + ".txt",
                  SpeedBlock("VREF", 21, "VREF" + f) + SpeedBlock("VGA9", 21, "VGA" + f) +
                      SpeedBlock("VFS", 21, "VFS" + f) + SpeedBlock("TGT", 21, "TGT" + f));
        }
        FillTables(plan.tables);
        plan.airports.LoadText(kAirports);
    }
    ~RouteFixture() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    int IntOf(FieldId id) const { return plan.IntOf(id); }

    void Write(const std::string& relative, const std::string& content) {
        std::ofstream(dir / relative, std::ios::binary) << content;
    }

    static void FillTables(PerformanceTables& t) {
        for (int b = 0; b < PerformanceTables::kBands; ++b) {
            for (int k = 0; k < PerformanceTables::kColumns; ++k) {
                t.FC[b][k] = static_cast<std::uint16_t>(400 + 10 * k);
                t.CT[b][k] = 10.0;
            }
            t.FF[b] = 3000;
            t.CS[b] = 300;
            t.DT[b] = 6.0;
        }
    }

    // Origin, destination and alternate typed in this order.
    void TypeRoute(const std::string& origin, const std::string& destination, const std::string& alternate) {
        Set(FieldId::Edit1, origin);
        Set(FieldId::Edit2, destination);
        Set(FieldId::Edit3, alternate);
    }

    inline static const std::string kAirports =
        AirportLine("AAAA", 50.0, 10.0, "0181") + "\r\n" + AirportLine("BBBB", 50.0, 13.0, "0000") + "\r\n" +
        AirportLine("CCCC", 50.5, 13.5, "0400") + "\r\n" + AirportLine("KJFK", 40.6398, -73.7789, "0013") +
        "\r\n" + AirportLine("KBOS", 42.3643, -71.0052, "0020") + "\r\n" +
        AirportLine("ABC ", 51.0, 10.0, "0100") + "\r\n" + AirportLine("EHAM", 52.3086, 4.7639, " -11") +
        "\r\n" + AirportLine("HIGH", -16.5133, -68.1923, "13355") + "\r\n" +
        AirportLine("DEEP", 31.3282, 35.3886, "-1266") + "\r\n" + AirportLine("DUPL", 10.0, 10.0, "0001") +
        "\r\n" + AirportLine("DUPL", 20.0, 20.0, "0002") + "\r\n" + "BADC 5x.0000   10.0000  0001\r\n" +
        AirportLine("BADE", 50.0, 11.0, "inf8") + "\r\n" + AirportLine("NEAR", 50.0049, 10.0049, "0181") +
        "\r\n";
};

} // namespace vantrel::testing
