// The checklist window in vantrel-cli session: its panels printed and clicked, no simulator.
#include "cli_sandbox.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

struct ChecklistSandbox : vantrel::test::CliSandbox {
    ChecklistSandbox() {
        QDir().mkpath(Program() + "/checklists");
        QFile file(Program() + "/checklists/checklists.ini");
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[settings]\nvoice=0\n[welcome]\n1=Hello\n[ic]\n1=One\n2=Two\n3=Three\n");
    }
};

QJsonObject Field(const QJsonObject& line, const QString& name) {
    return line["fields"].toObject()[name].toObject();
}
QJsonValue Value(const QJsonObject& line, const char* name) {
    return line["values"].toObject()[name];
}

// What the other windows show before anything wrote into them, and the print window's sheet
// once Button51 has filled it.
TEST(CliSessionChecklists, OtherWindowsAtStartAndThePrintSheet) {
    ChecklistSandbox box;
    const auto lines = box.RunSession({"--now", "2026-12-09T23:30:00", "--utc-bias", "60"},
                                      {"click Button51", "close Form3"});
    ASSERT_EQ(lines.size(), 3u);
    const QJsonObject& start = lines[0];
    const QStringList captions = {"BS", "IC", "",   "BT", "TO", "DE", "BL",
                                  "AL", "SD", "AT", "TE", "CR", ">>", "<<"};
    for (int n = 1; n <= 14; ++n) {
        const QJsonObject panel = Field(start, "Form7.Panel" + QString::number(n));
        EXPECT_EQ(panel["text"].toString(), captions[n - 1]) << n;
        EXPECT_EQ(panel["color"].toString(), "#c0c0c0") << n;
    }
    EXPECT_EQ(Value(start, "ChecklistItem").toInt(), 0);
    EXPECT_EQ(Field(start, "Form5.lbfuel")["text"].toString(), "5000 lb");
    EXPECT_FALSE(start["fields"].toObject().contains("Form3.st24"));
    for (const QJsonObject& line : {lines[1], lines[2]}) { // shown, then closed: the sheet stays filled
        EXPECT_EQ(Field(line, "Form3.st24")["text"].toString(), "10/12"); // the UTC date
        EXPECT_EQ(Field(line, "Form3.st1")["text"].toString(), Field(start, "Edit1")["text"].toString());
    }
    EXPECT_EQ(lines[1]["sounds"].toArray().size(), 3); // the switch cue, then the background again
}

// A checklist stepped by clicks: what is spoken, the next item, the running (lime) panel and the
// next checklist (yellow); then the window's Panel3 with each button.
TEST(CliSessionChecklists, ClicksStepThroughAChecklistAndPanel3TogglesTheWindows) {
    ChecklistSandbox box;
    const struct {
        const char* command;
        QJsonArray spoken;
        int item;
        const char* panel2; // the running checklist, "IC"
        const char* panel1; // the one after it, "BS"
        bool mainWindow;
        bool checklistWindow;
    } cases[] = {
        {"click Form7.Panel2", {"One"}, 2, "#00ff00", "#c0c0c0", true, true},
        {"click Form7.Panel13", {"Two"}, 3, "#00ff00", "#c0c0c0", true, true},
        {"click Form7.Panel14", {"Two"}, 3, "#00ff00", "#c0c0c0", true, true},
        {"click Form7.Panel13", {"Three"}, 3, "#c0c0c0", "#ffff00", true, true},
        {"click Form7.Panel13", {}, 3, "#c0c0c0", "#ffff00", true, true}, // nothing runs
        {"click Form7.Panel1", {}, 1, "#c0c0c0", "#00ff00", true, true},  // no such section
        {"mouse Form7.Panel3 left", {}, 1, "#c0c0c0", "#00ff00", false, true},
        {"mouse Form7.Panel3 middle", {}, 1, "#c0c0c0", "#00ff00", false, true},
        {"mouse Form7.Panel3 left", {}, 1, "#c0c0c0", "#00ff00", true, true},
        {"mouse Form7.Panel3 right", {}, 1, "#c0c0c0", "#00ff00", true, false},
    };
    QStringList commands;
    for (const auto& c : cases)
        commands << c.command;
    const auto lines = box.RunSession({}, commands);
    ASSERT_EQ(lines.size(), std::size(cases) + 1);
    EXPECT_EQ(lines[0]["spoken"].toArray(), QJsonArray{"Hello"});
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const QJsonObject& line = lines[i + 1];
        EXPECT_EQ(line["spoken"].toArray(), c.spoken) << c.command << " " << i;
        EXPECT_EQ(Value(line, "ChecklistItem").toInt(), c.item) << i;
        EXPECT_EQ(Field(line, "Form7.Panel2")["color"].toString(), c.panel2) << i;
        EXPECT_EQ(Field(line, "Form7.Panel1")["color"].toString(), c.panel1) << i;
        EXPECT_EQ(Value(line, "MainWindowVisible").toBool(), c.mainWindow) << i;
        EXPECT_EQ(Value(line, "ChecklistWindowVisible").toBool(), c.checklistWindow) << i;
    }
}

} // namespace
