#include "fs9_fixture.h"
#include "shell/ops_sheet.h"
#include "shell/startup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace vantrel;
using namespace vantrel::testing;

TEST(OpsSheetDate, LocalClockMovedByTheBiasGivesTheUtcDate) {
    struct Case {
        CivilTime local;
        int bias;
        const char* dayMonth;
        int year;
    };
    const Case cases[] = {
        {{2026, 3, 5, 12, 0, 0}, 0, "05/03", 2026},
        {{2026, 3, 4, 23, 59, 0}, 300, "05/03", 2026}, // a minute before midnight in New York
        {{2026, 3, 4, 23, 59, 59}, 0, "04/03", 2026},  // seconds never carry the day over
        {{2026, 3, 4, 18, 59, 0}, 300, "04/03", 2026}, // west of Greenwich, before UTC midnight
        {{2026, 3, 5, 0, 30, 0}, -60, "04/03", 2026},  // east of Greenwich: the day before
        {{2026, 3, 1, 0, 30, 0}, -60, "28/02", 2026},  // back over a month end
        {{2028, 2, 28, 23, 30, 0}, 60, "29/02", 2028}, // leap day
        {{2026, 12, 31, 23, 59, 0}, 1, "01/01", 2027}, // new year
        {{2027, 1, 1, 9, 0, 0}, -600, "31/12", 2026},  // Sydney morning, the year before
        {{2026, 10, 9, 7, 5, 0}, 0, "09/10", 2026},
    };
    for (const Case& c : cases) {
        const CivilDate utc = UtcDateOf(c.local, c.bias);
        EXPECT_EQ(DayMonthText(utc), c.dayMonth) << c.local.day << "/" << c.local.month << " bias " << c.bias;
        EXPECT_EQ(utc.year, c.year) << c.dayMonth;
    }
}

TEST(OpsSheetPdfName, DateAndRouteOfLettersAndDigitsOnly) {
    struct Case {
        const char* origin;
        const char* destination;
        const char* name;
    };
    const Case cases[] = {
        {"EDDH", "EHAM", "Ops flight plan 2026-03-05 EDDH-EHAM.pdf"},
        {"../ED", "E/H:A*M", "Ops flight plan 2026-03-05 ED-EHAM.pdf"},
        {"", "EHAM", "Ops flight plan 2026-03-05 EHAM.pdf"},
        {"EDDH", "", "Ops flight plan 2026-03-05 EDDH.pdf"},
        {"", "..", "Ops flight plan 2026-03-05.pdf"},
    };
    for (const Case& c : cases) {
        OpsSheet sheet;
        sheet.date = {2026, 3, 5};
        sheet.origin = c.origin;
        sheet.destination = c.destination;
        EXPECT_EQ(OpsSheetPdfName(sheet), c.name);
    }
}

namespace {

// A plan started against a copy of the fixture simulator, in pounds or in kilograms, with
// the same load in either unit.
std::unique_ptr<FlightPlan> StartedPlan(const fs::path& root, bool kilograms) {
    fs::copy(fs::path(VANTREL_SOURCE_DIR) / "tests" / "fixtures" / "fs9", root, fs::copy_options::recursive);
    const fs::path panel = root / "Flight Simulator 9" / "Aircraft" / "Feelthere PIC ERJ145LR" / "panel";
    if (kilograms)
        fs::copy_file(panel / "erj-kg.ini", panel / "erj.ini", fs::copy_options::overwrite_existing);
    InstallProgramData(root / "program");
    ScopedEnv home("HOME", (root / "home").string());
    ScopedEnv fsPath("VANTREL_FS_PATH", (root / "Flight Simulator 9").string());
    ScopedEnv documents("VANTREL_DOCUMENTS", (root / "Documents").string());
    auto plan = std::make_unique<FlightPlan>();
    StartupHooks hooks;
    hooks.ask = [](const std::string&) { return true; };
    EXPECT_EQ(RunStartupSequence(*plan, (root / "program").string() + "/", hooks), StartupResult::Completed);
    plan->UserSetText(FieldId::Edit13, "40");
    plan->UserSetText(FieldId::Edit15, kilograms ? "227" : "500");
    return plan;
}

// Which field each value label shows.
struct LabelSource {
    const char* label;
    FieldId field;
};
constexpr LabelSource kLabelSources[] = {
    {"st22", FieldId::Edit53}, {"st23", FieldId::Edit54}, {"st1", FieldId::Edit1},
    {"st5", FieldId::Edit2},   {"st6", FieldId::Edit4},   {"st7", FieldId::Edit36},
    {"st8", FieldId::Edit7},   {"st9", FieldId::Edit11},  {"st15", FieldId::Edit3},
    {"st16", FieldId::Edit5},  {"st17", FieldId::Edit35}, {"st18", FieldId::Edit8},
    {"st19", FieldId::Edit12}, {"st30", FieldId::Edit13}, {"st31", FieldId::Edit15},
    {"st32", FieldId::Edit50}, {"st40", FieldId::Edit17}, {"st41", FieldId::Edit16},
    {"st42", FieldId::Edit23}, {"st43", FieldId::Edit24}, {"st44", FieldId::Edit25},
    {"st45", FieldId::Edit26}, {"st70", FieldId::Edit18}, {"st71", FieldId::Edit19},
    {"st72", FieldId::Edit20}, {"st73", FieldId::Edit21}, {"st74", FieldId::Edit22},
    {"st75", FieldId::Edit29},
};

} // namespace

TEST(OpsSheetPlan, PoundAndKilogramPlansFillEveryLabelAsTheFieldsStand) {
    const fs::path root = FreshTempDir("ops-sheet");
    std::vector<OpsSheet> sheets;
    for (const bool kilograms : {false, true}) {
        const std::unique_ptr<FlightPlan> started = StartedPlan(root / (kilograms ? "kg" : "lb"), kilograms);
        const FlightPlan& plan = *started;
        const OpsSheet sheet = MakeOpsSheet(plan, {2026, 3, 5});
        for (const LabelSource& s : kLabelSources)
            EXPECT_EQ(sheet.Text(s.label), plan.Text(s.field)) << s.label << (kilograms ? " kg" : " lb");
        EXPECT_EQ(sheet.Text("st24"), "05/03");
        EXPECT_EQ(sheet.Text("st62"), kilograms ? "kgs" : "lbs");
        EXPECT_EQ(sheet.Text("st100"), plan.Text(FieldId::cb3));
        EXPECT_FALSE(sheet.Text("st100").empty());
        EXPECT_EQ(sheet.values.size(), std::size(kLabelSources) + 3);
        EXPECT_EQ(sheet.Text("st99"), "");
        EXPECT_EQ(sheet.origin, plan.Text(FieldId::Edit1));
        sheets.push_back(sheet);
    }
    // The fixture's operator and flight from the active saved flight.
    EXPECT_EQ(sheets[0].Text("st22"), "HANSALINE");
    // The kilogram sheet shows the plan's kilogram figures, not pounds.
    for (const char* weight : {"st40", "st42", "st44", "st45"}) {
        const double pounds = std::stod(sheets[0].Text(weight));
        const double kilograms = std::stod(sheets[1].Text(weight));
        EXPECT_NEAR(kilograms, pounds / kKilogramFactor, 0.01 * kilograms) << weight;
    }
    std::error_code ec;
    fs::remove_all(root, ec);
}
