// The checklist window in vantrel-cli session: its panels printed and clicked, no simulator.
#include "cli_sandbox.h"

#include <QDir>
#include <QJsonArray>

#include <fstream>

#include <gtest/gtest.h>

namespace {

// A checklist stepped by clicks: the items spoken, the next item, the running checklist lime and
// the one after it yellow; then Panel3's buttons and the print window. Before all that, every
// panel and the fuel panel's figure as the windows show them at start.
TEST(CliSessionChecklists, PanelsStepThroughAChecklistAndTheOtherWindowsShowTheirState) {
    vantrel::test::CliSandbox box;
    ASSERT_TRUE(QDir().mkpath(box.Program() + "/checklists"));
    std::ofstream(box.Program().toStdString() + "/checklists/checklists.ini")
        << "[settings]\nvoice=0\n[welcome]\n1=Hello\n[ic]\n1=One\n2=Two\n3=Three\n";
    const struct {
        const char* command;
        QJsonArray spoken;
        int item;
        QString panel2, panel1; // "IC" and the checklist after it, "BS"
        bool mainWindow, checklistWindow;
    } cases[] = {
        {"", {"Hello"}, 0, "#c0c0c0", "#c0c0c0", true, true}, // start
        {"click Form7.Panel2", {"One"}, 2, "#00ff00", "#c0c0c0", true, true},
        {"click Form7.Panel13", {"Two"}, 3, "#00ff00", "#c0c0c0", true, true},
        {"click Form7.Panel14", {"Two"}, 3, "#00ff00", "#c0c0c0", true, true},
        {"click Form7.Panel13", {"Three"}, 3, "#c0c0c0", "#ffff00", true, true},
        {"mouse Form7.Panel3 left", {}, 3, "#c0c0c0", "#ffff00", false, true},
        {"mouse Form7.Panel3 right", {}, 3, "#c0c0c0", "#ffff00", false, false},
        {"click Button51", {}, 3, "#c0c0c0", "#ffff00", false, false},
    };
    QStringList commands;
    for (std::size_t i = 1; i < std::size(cases); ++i)
        commands << cases[i].command;
    const auto lines = box.RunSession({"--now", "2026-12-09T23:30:00", "--utc-bias", "60"}, commands);
    ASSERT_EQ(lines.size(), std::size(cases));
    const auto field = [&lines](std::size_t i, const QString& name, const char* key) {
        return lines[i]["fields"].toObject()[name].toObject()[key].toString();
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QJsonObject values = lines[i]["values"].toObject();
        EXPECT_EQ(lines[i]["spoken"].toArray(), cases[i].spoken) << i;
        EXPECT_EQ(values["ChecklistItem"].toInt(), cases[i].item) << i;
        EXPECT_EQ(field(i, "Form7.Panel2", "color"), cases[i].panel2) << i;
        EXPECT_EQ(field(i, "Form7.Panel1", "color"), cases[i].panel1) << i;
        EXPECT_EQ(values["MainWindowVisible"].toBool(), cases[i].mainWindow) << i;
        EXPECT_EQ(values["ChecklistWindowVisible"].toBool(), cases[i].checklistWindow) << i;
    }
    const QStringList captions = {"BS", "IC", "",   "BT", "TO", "DE", "BL",
                                  "AL", "SD", "AT", "TE", "CR", ">>", "<<"};
    for (int n = 1; n <= 14; ++n)
        EXPECT_EQ(field(0, "Form7.Panel" + QString::number(n), "text") +
                      field(0, "Form7.Panel" + QString::number(n), "color"),
                  captions[n - 1] + "#c0c0c0");
    EXPECT_EQ(field(0, "Form5.lbfuel", "text"), "5000 lb");
    EXPECT_EQ(field(lines.size() - 1, "Form3.st24", "text"), "10/12"); // the UTC date
    EXPECT_EQ(field(lines.size() - 1, "Form3.st1", "text"), field(0, "Edit1", "text"));
}

} // namespace
