// The airport database: fixed columns, the look-up by code, loading.
#include "core/convert.h"
#include "core/profile_file.h"
#include "planning/airport_database.h"
#include "route_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace vantrel;
using vantrel::testing::AirportLine;
using vantrel::testing::RouteFixture;

namespace {

AirportDatabase Fixture() {
    AirportDatabase db;
    db.LoadText(RouteFixture::kAirports);
    return db;
}

} // namespace

TEST(AirportDatabase, ReadsTheFixedColumns) {
    const auto db = Fixture();
    const auto line = db.FindAirport("AAAA");
    ASSERT_TRUE(line);
    const AirportRecord r = AirportDatabase::ReadRecord(*line);
    EXPECT_EQ(r.code, "AAAA");
    EXPECT_DOUBLE_EQ(r.latitude, 50.0);
    EXPECT_DOUBLE_EQ(r.longitude, 10.0);
    EXPECT_EQ(r.elevation, "0181");
}

TEST(AirportDatabase, ElevationsBelowSeaLevelAndWithFiveCharacters) {
    const auto db = Fixture();
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("EHAM")).elevation, "-11");
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("DEEP")).elevation, "-1266");
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("HIGH")).elevation, "13355");
    EXPECT_DOUBLE_EQ(AirportDatabase::ReadRecord(*db.FindAirport("HIGH")).latitude, -16.5133);
    // Something else after a four-column elevation is not part of it.
    EXPECT_EQ(AirportDatabase::ReadRecord(AirportLine("XXXX", 1, 2, "0181") + "Xtra").elevation, "0181");
}

TEST(AirportDatabase, LookUpMatchesTheCodeColumnsOnly) {
    const auto db = Fixture();
    // A three-letter code is searched as its letters and two blanks.
    ASSERT_TRUE(db.FindAirport("ABC  "));
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("ABC  ")).code, "ABC");
    // Letters that occur elsewhere in a line, or inside a longer code, are not a match.
    EXPECT_FALSE(db.FindAirport("AAA  "));
    EXPECT_FALSE(db.FindAirport("000"));
    EXPECT_FALSE(db.FindAirport("JFK  "));
    // Case counts; empty keys find nothing (not a blank line).
    EXPECT_FALSE(db.FindAirport("aaaa"));
    EXPECT_FALSE(db.FindAirport("     "));
    EXPECT_FALSE(db.FindAirport(""));
    EXPECT_FALSE(db.FindAirport("AAAAA"));
}

TEST(AirportDatabase, FirstOfTwoLinesWithTheSameCodeCounts) {
    const auto db = Fixture();
    EXPECT_DOUBLE_EQ(AirportDatabase::ReadRecord(*db.FindAirport("DUPL")).latitude, 10.0);
}

TEST(AirportDatabase, CoordinatesThatAreNotNumbers) {
    const auto db = Fixture();
    const auto line = db.FindAirport("BADC");
    ASSERT_TRUE(line);
    try {
        AirportDatabase::ReadRecord(*line);
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'5x.0000' is not a valid floating point value");
    }
    // A line too short for its coordinates.
    EXPECT_THROW(AirportDatabase::ReadRecord("SHRT"), ConvertError);
}

TEST(AirportDatabase, LoadsLinesWithEitherEndingAndReportsAMissingFile) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vantrel-airports-" + std::to_string(::getpid()) + ".vn"))
            .string();
    {
        std::ofstream(path, std::ios::binary) << AirportLine("LFLF", 1, 2, "0001") << "\n"
                                              << AirportLine("CRLF", 3, 4, "0002") << "\r\n"
                                              << AirportLine("LAST", 5, 6, "0003");
    }
    AirportDatabase db;
    db.Load(path);
    EXPECT_EQ(db.LineCount(), 3u);
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("CRLF")).elevation, "0002");
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("LAST")).elevation, "0003");
    std::filesystem::remove(path);
    try {
        db.Load(path);
        FAIL();
    } catch (const UserError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + path + "\". ", 0), 0u) << e.what();
    }
    // A failed load keeps what was loaded before.
    EXPECT_TRUE(db.FindAirport("LFLF"));
}

TEST(ShippedAirports, IndexReturnsWhatASearchFromTheTopFinds) {
    AirportDatabase db;
    db.Load(std::string(VANTREL_SOURCE_DIR) + "/data/airports/airports.vn");
    std::string text;
    ASSERT_TRUE(ReadWholeFile(std::string(VANTREL_SOURCE_DIR) + "/data/airports/airports.vn", text));
    std::istringstream lines(text);
    std::string line;
    std::size_t count = 0;
    while (std::getline(lines, line)) {
        const std::string code(TrimBlanks(Columns(line, 1, 4)));
        const auto found = db.FindAirport(code.size() == 3 ? code + "  " : code);
        ASSERT_TRUE(found) << code;
        // Every code is unique in the shipped file, so the first match is this very line.
        EXPECT_EQ(*found, line);
        const AirportRecord r = AirportDatabase::ReadRecord(*found);
        EXPECT_GE(r.latitude, -90.0);
        EXPECT_LE(r.latitude, 90.0);
        EXPECT_GE(r.longitude, -180.0);
        EXPECT_LE(r.longitude, 180.0);
        EXPECT_NO_THROW(StrToInt(r.elevation)) << code;
        ++count;
    }
    EXPECT_GT(count, 4500u);
    for (const char* code : {"EDDH", "EHAM", "EHRD", "EDDV", "EDDM", "EDDN"})
        EXPECT_TRUE(db.FindAirport(code)) << code;
    EXPECT_EQ(AirportDatabase::ReadRecord(*db.FindAirport("EHAM")).elevation, "-11");
}
