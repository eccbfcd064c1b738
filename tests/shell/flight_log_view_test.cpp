// The flight log viewer's reading of "erj145.csv": a row per line, a cell per field.
#include "shell/flight_log_view.h"

#include "core/convert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace vantrel {
namespace {

FlightLogRow Row(std::initializer_list<const char*> cells) {
    FlightLogRow row;
    int i = 0;
    for (const char* c : cells)
        row[i++] = c;
    return row;
}

TEST(FlightLogView, LinesBecomeRowsAndFieldsCellsAsTheyStand) {
    const std::string full = "07/12/2026;EDDV;09:05;EDDM;10:02;400;00:57;17500;7000;2123;50;500;";
    const FlightLogRow fullRow = Row({"07/12/2026", "EDDV", "09:05", "EDDM", "10:02", "400", "00:57", "17500",
                                      "7000", "2123", "50", "500"});
    struct Case {
        const char* name;
        std::string text;
        std::vector<FlightLogRow> rows;
    } cases[] = {
        {"empty file", "", {}},
        {"one flight, CR LF", full + "\r\n", {fullRow}},
        {"no line end after the last line", full + "\r\n" + full, {fullRow, fullRow}},
        {"LF only", full + "\n", {fullRow}},
        {"fewer fields fill the first columns", "a;b\r\nc;d;\r\n", {Row({"a", "b"}), Row({"c", "d"})}},
        {"fields beyond the twelfth are ignored", full + "extra;more;\r\n", {fullRow}},
        {"an empty line is an empty row", full + "\r\n\r\n" + full + "\r\n", {fullRow, Row({}), fullRow}},
        {"not trimmed", " EDDV ; 09:05;;\r\n", {Row({" EDDV ", " 09:05", "", ""})}},
        {"a long line is kept whole",
         std::string(300, 'x') + ";" + std::string(300, 'y') + ";\r\n",
         {Row({std::string(300, 'x').c_str(), std::string(300, 'y').c_str()})}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseFlightLog(c.text), c.rows);
    }
}

TEST(FlightLogView, LoadsAfreshAndTellsMissingAndUnreadableLogs) {
    char pattern[] = "/tmp/vantrel-log-view-XXXXXX";
    const std::string dir = std::string(mkdtemp(pattern)) + "/";
    const std::string log = dir + "erj145.csv";
    std::vector<FlightLogRow> rows{Row({"kept"})};
    EXPECT_EQ(LoadFlightLog(dir, rows), FlightLogRead::Missing);
    EXPECT_EQ(rows.size(), 1u);
    { std::ofstream(log, std::ios::binary) << "a;b;\r\nc;\r\n"; }
    EXPECT_EQ(LoadFlightLog(dir, rows), FlightLogRead::Read);
    EXPECT_EQ(rows, (std::vector<FlightLogRow>{Row({"a", "b"}), Row({"c"})}));
    { std::ofstream(log, std::ios::binary | std::ios::app) << "d;\r\n"; }
    EXPECT_EQ(LoadFlightLog(dir, rows), FlightLogRead::Read);
    EXPECT_EQ(rows.size(), 3u);
    // Over the size limit: the whole lines that fit.
    EXPECT_EQ(LoadFlightLog(dir, rows, 8), FlightLogRead::Read);
    EXPECT_EQ(rows, (std::vector<FlightLogRow>{Row({"a", "b"})}));
    std::filesystem::remove(log);
    std::filesystem::create_directory(log);
    rows = {Row({"kept"})};
    EXPECT_EQ(LoadFlightLog(dir, rows), FlightLogRead::Unreadable);
    EXPECT_EQ(rows, (std::vector<FlightLogRow>{Row({"kept"})}));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vantrel

namespace vantrel {
namespace {

TEST(FlightLogGrid, ShowsTheLogAfreshEachTimeAndTakesLoggedFlights) {
    char pattern[] = "/tmp/vantrel-log-grid-XXXXXX";
    const std::string dir = std::string(mkdtemp(pattern)) + "/";
    const std::string log = dir + "erj145.csv";
    FlightLogGrid grid;
    int changes = 0;
    grid.onChanged = [&] { ++changes; };
    grid.FormShow(dir); // no log: header and one empty row
    EXPECT_EQ(grid.Rows(), std::vector<FlightLogRow>(1));
    { std::ofstream(log, std::ios::binary); }
    grid.FormShow(dir); // empty log: only the header
    EXPECT_TRUE(grid.Rows().empty());
    grid.AddLoggedFlight("07/12"); // no row to follow
    EXPECT_TRUE(grid.Rows().empty());
    { std::ofstream(log, std::ios::binary) << "07/12/2026;EDDV;\r\n"; }
    grid.FormShow(dir);
    grid.FormShow(dir); // twice: the same, read afresh
    EXPECT_EQ(grid.Rows().size(), 1u);
    grid.AddLoggedFlight("08/12");
    ASSERT_EQ(grid.Rows().size(), 2u);
    EXPECT_EQ(grid.Rows()[1][0], "08/12");
    EXPECT_EQ(grid.Rows()[1][1], "");
    std::filesystem::remove(log);
    std::filesystem::create_directory(log);
    EXPECT_THROW(grid.FormShow(dir), UserError);
    EXPECT_EQ(grid.Rows().size(), 2u);
    EXPECT_EQ(changes, 5);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vantrel
