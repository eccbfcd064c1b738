#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// The fuel planning tables, read once at start-up from fuel/fuelplan.csv.
// Bands 10..37 (thousands of feet), weight columns 40..48 (thousands of pounds, stored 0..8).
struct PerformanceTables {
    static constexpr int kFirstBand = 10;
    static constexpr int kLastBand = 37;
    static constexpr int kBands = kLastBand - kFirstBand + 1;
    static constexpr int kColumns = 9;

    std::array<std::array<std::uint16_t, kColumns>, kBands> FC{}; // fuel to climb, lb
    std::array<std::array<double, kColumns>, kBands> CT{};        // time to climb, min
    std::array<std::uint16_t, kBands> FF{};                       // cruise fuel flow, lb/h
    std::array<std::uint16_t, kBands> CS{};                       // cruise true air speed, kt
    std::array<double, kBands> DT{};                              // time to descend, min

    // Names of the blocks that were not found in the file at the last load (kept zero).
    std::string missingBlocks;
};

// Reads one block ("**FC", "**CT", "**FF", "**CS" or "**DT") of the fuel file into the tables.
// Throws UserError("File not found") when the file cannot be opened and ConvertError for a value
// that is not a number. Returns false when the block marker is not in the file (the table stays).
bool LoadFuelBlock(const std::string& path, const std::string& block, PerformanceTables& tables);

// Loads the five blocks in the order FC, CT, FF, CS, DT. Errors propagate as above; a block
// missing from the file is recorded in tables.missingBlocks.
void LoadFuelTables(const std::string& path, PerformanceTables& tables);

// Splits a data line at ";" the way the fuel file is read: each field up to the next ";",
// the rest after a ";" limited to 255 characters.
std::vector<std::string> SplitFuelFields(const std::string& line);

} // namespace vantrel
