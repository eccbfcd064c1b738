#include "core/convert.h"
#include "planning/performance_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace vantrel;
namespace fs = std::filesystem;

namespace {

std::string Block(const std::string& name, const std::function<std::string(int band)>& line) {
    std::string s = name + " anything after the marker\r\nheading;ignored\r\n";
    for (int b = 10; b <= 37; ++b)
        s += line(b) + "\r\n";
    return s;
}

std::string FcLine(int b) {
    std::string s = std::to_string(b);
    for (int c = 0; c < 9; ++c)
        s += ";" + std::to_string(b * 100 + c * 10);
    return s;
}

std::string CtLine(int b) {
    std::string s = std::to_string(b);
    for (int c = 0; c < 9; ++c)
        s += ";" + std::to_string(b) + "," + std::to_string(c);
    return s;
}

class FuelTables : public ::testing::Test {
protected:
    std::string path_ =
        (fs::temp_directory_path() / ("fuel-" + std::to_string(::getpid()) + ".csv")).string();
    void TearDown() override { fs::remove(path_); }
    void Write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }

    std::string fc = Block("**FC", FcLine);
    std::string ct = Block("**CT", CtLine);
    std::string ff =
        Block("**FF", [](int b) { return std::to_string(b) + ";x;" + std::to_string(3000 - b); });
    std::string cs = Block("**CS", [](int b) { return std::to_string(b) + ";" + std::to_string(300 + b); });
    std::string dt =
        Block("**DT", [](int b) { return std::to_string(b) + ";" + std::to_string(b / 2) + ",5"; });
};

} // namespace

TEST_F(FuelTables, ReadsEveryBlockAsWritten) {
    Write("title\n" + fc + ct + ff + cs + dt);
    PerformanceTables t;
    LoadFuelTables(path_, t);
    EXPECT_TRUE(t.missingBlocks.empty());
    EXPECT_EQ(t.FC[0][0], 1000);
    EXPECT_EQ(t.FC[0][8], 1080);
    EXPECT_EQ(t.FC[27][4], 3740);
    EXPECT_DOUBLE_EQ(t.CT[2][3], 12.3);
    EXPECT_EQ(t.FF[10], 2980); // "20;x;2980": only the last field counts
    EXPECT_EQ(t.CS[27], 337);
    EXPECT_DOUBLE_EQ(t.DT[2], 6.5);
}

TEST_F(FuelTables, BlockOrderDoesNotMatter) {
    Write(dt + cs + "noise;1;2\n" + ff + ct + fc);
    PerformanceTables reordered, ordered;
    LoadFuelTables(path_, reordered);
    Write(fc + ct + ff + cs + dt);
    LoadFuelTables(path_, ordered);
    EXPECT_EQ(reordered.FC, ordered.FC);
    EXPECT_EQ(reordered.CT, ordered.CT);
    EXPECT_EQ(reordered.DT, ordered.DT);
}

TEST_F(FuelTables, SingleValueLinesAndFirstFcLine) {
    Write(Block("**DT", [](int b) { return b == 12 ? std::string("12;2,5") : std::to_string(b) + ";5"; }) +
          Block("**FC", [](int b) {
              return b == 10 ? std::string("10;900;910;920;930;940;950;960;970;980") : FcLine(b);
          }));
    PerformanceTables t;
    ASSERT_TRUE(LoadFuelBlock(path_, "**DT", t));
    EXPECT_DOUBLE_EQ(t.DT[2], 2.5);
    EXPECT_DOUBLE_EQ(t.DT[3], 5.0);
    ASSERT_TRUE(LoadFuelBlock(path_, "**FC", t));
    for (int c = 0; c < 9; ++c)
        EXPECT_EQ(t.FC[0][static_cast<std::size_t>(c)], 900 + 10 * c);
}

TEST_F(FuelTables, FailuresCarryTheirTexts) {
    PerformanceTables t;
    try {
        LoadFuelTables(path_ + ".missing", t);
        FAIL();
    } catch (const UserError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }

    Write(Block("**FC", [](int b) { return b == 15 ? std::string("15;1;2;3;4; 5;6;7;8;9") : FcLine(b); }));
    try {
        LoadFuelBlock(path_, "**FC", t);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "' 5' is not a valid integer value");
    }

    Write(Block("**DT", [](int b) { return std::to_string(b) + ";2,5x"; }));
    try {
        LoadFuelBlock(path_, "**DT", t);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'2.5x' is not a valid floating point value");
    }

    // Too few data lines: the missing bands read as empty lines.
    Write("**CS\nheading\n10;300\n11;310\n");
    try {
        LoadFuelBlock(path_, "**CS", t);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }

    // A value that does not fit the 16-bit table is refused rather than wrapped.
    Write(Block("**FF", [](int b) { return std::to_string(b) + ";70000"; }));
    EXPECT_THROW(LoadFuelBlock(path_, "**FF", t), ConvertError);
}

TEST_F(FuelTables, MissingBlockStopsAtEndOfFileAndIsReported) {
    Write(fc + ct + cs + dt);
    PerformanceTables t;
    EXPECT_FALSE(LoadFuelBlock(path_, "**FF", t));
    LoadFuelTables(path_, t);
    EXPECT_EQ(t.missingBlocks, "**FF");
    EXPECT_EQ(t.FF[0], 0);
    EXPECT_EQ(t.CS[0], 310);
}

TEST(FuelFieldSplitter, RestIsLimitedTo255Characters) {
    EXPECT_EQ(SplitFuelFields("a;b;c"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitFuelFields("novalue"), (std::vector<std::string>{"novalue"}));
    const auto fields = SplitFuelFields("1;" + std::string(300, '9'));
    EXPECT_EQ(fields[1].size(), 255u);
}

TEST(ShippedFuelData, IsCompleteAndConsistent) {
    PerformanceTables t;
    LoadFuelTables(std::string(VANTREL_SOURCE_DIR) + "/data/fuel/fuelplan.csv", t);
    EXPECT_TRUE(t.missingBlocks.empty());
    for (std::size_t b = 0; b < PerformanceTables::kBands; ++b) {
        for (std::size_t c = 1; c < PerformanceTables::kColumns; ++c) {
            EXPECT_GT(t.FC[b][c], t.FC[b][c - 1]);
            EXPECT_GT(t.CT[b][c], t.CT[b][c - 1]);
        }
        if (b > 0) {
            EXPECT_GT(t.FC[b][0], t.FC[b - 1][0]);
            EXPECT_GT(t.CT[b][0], t.CT[b - 1][0]);
            EXPECT_LE(t.FF[b], t.FF[b - 1]);
            EXPECT_GE(t.CS[b], t.CS[b - 1]);
            EXPECT_GT(t.DT[b], t.DT[b - 1]);
        }
    }
}
