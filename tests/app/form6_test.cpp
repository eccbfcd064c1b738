// The flight log viewer: headers and widths, the log read afresh at every show, Close.
#include "app_fixture.h"
#include "form6.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <fstream>

namespace {

void WriteLog(const std::string& dir, const std::string& text) {
    std::ofstream(dir + "erj145.csv", std::ios::binary) << text;
}

QString Cell(QTableView* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

TEST(Form6, ShowsTheLogUnderTwelveHeadedColumnsReadAfreshAtEveryShow) {
    AppFixture f(false);
    TForm6 form(f.ctx);
    auto* grid = form.findChild<QTableView*>("sg1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(form.windowTitle(), "Vantrel - Flight Log");
    EXPECT_EQ(form.size(), QSize(722, 477));
    EXPECT_EQ(grid->height(), 433);
    const char* headers[] = {"Date", "Origin", "ATA",     "Dest",   "ATD", "ETE",
                             "ATE",  "TOW",    "Plan TF", "Act TF", "Pax", "Cargo"};
    const int widths[] = {60, 53, 52, 51, 51, 52, 54, 74, 71, 68, 47, 52};
    ASSERT_EQ(grid->model()->columnCount(), 12);
    for (int c = 0; c < 12; ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        EXPECT_EQ(grid->columnWidth(c), widths[c]);
    }

    form.show(); // no log yet: one empty row
    EXPECT_EQ(grid->model()->rowCount(), 1);
    form.close();
    WriteLog(f.ctx.programDir, "07/12/2026;EDDV;09:05;EDDM;10:02;400;00:57;17500;7000;2123;50;500;\r\n"
                               "08/12/2026;EDDM;11:00; EDDH ;12:01;\r\n");
    form.show();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(Cell(grid, 0, 11), "500");
    EXPECT_EQ(Cell(grid, 1, 3), " EDDH ");
    EXPECT_EQ(Cell(grid, 1, 5), "");
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 18);
    vantrel::test::SaveShot(&form, "form6-flight-log");
    form.findChild<QPushButton*>("Button1")->click();
    EXPECT_FALSE(form.isVisible());

    WriteLog(f.ctx.programDir, ""); // emptied meanwhile: only the header
    form.show();
    EXPECT_EQ(grid->model()->rowCount(), 0);
    form.close();
    EXPECT_TRUE(f.errors.empty());
}

TEST(Form6, AnUnreadableLogIsReportedAndTheGridKeepsItsRows) {
    AppFixture f(false);
    TForm6 form(f.ctx);
    WriteLog(f.ctx.programDir, "a;\r\nb;\r\n");
    form.show();
    form.close();
    std::filesystem::remove(f.ctx.programDir + "erj145.csv");
    std::filesystem::create_directory(f.ctx.programDir + "erj145.csv");
    form.show();
    EXPECT_EQ(f.errors, std::vector<std::string>{"File access denied"});
    EXPECT_EQ(form.Grid().Rows().size(), 2u);
    form.close();
}

} // namespace
