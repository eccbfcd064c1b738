#include "cli_runner.h"

#include <QDateTime>
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <iostream>

#include <gtest/gtest.h>

#include "cli_sandbox.h"

using vantrel::testing::RunCli;

namespace {

// A program folder with the shipped tables and a home without any simulator.
struct PrintSandbox : vantrel::test::CliSandbox {
    QStringList Plan(QStringList extra) const {
        return QStringList{"plan", "--program-dir", root.path() + "/program", "--edit", "Edit2=EHAM"} + extra;
    }
    QStringList Env() const { return EnvAssignments(); }
};

QByteArray RunTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return p.readAllStandardOutput();
}

QString FieldText(const QJsonObject& json, const char* name) {
    return json["fields"].toObject()[name].toObject()["text"].toString();
}

} // namespace

// The page at 96 pixels per inch: the sheet's ink lies within 338 x 285 pixels from the
// printable area's corner (10 mm = 37.8 pixels in), and its rows read top to bottom.
TEST(PlanPrintPdf, PageCarriesTheSheetAtItsOnScreenSize) {
    const PrintSandbox box;
    const QString pdf = box.root.path() + "/sheet.pdf";
    const QString before = QDateTime::currentDateTimeUtc().toString("dd/MM");
    const auto r = RunCli(box.Plan({"--print-pdf", pdf}), box.Env());
    const QString after = QDateTime::currentDateTimeUtc().toString("dd/MM");
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.json["errors"].toArray().isEmpty());
    ASSERT_TRUE(QFileInfo::exists(pdf));

    const QString prefix = box.root.path() + "/page";
    RunTool("pdftoppm", {"-r", "96", "-gray", pdf, prefix});
    const QStringList pages = QDir(box.root.path()).entryList({"page*.pgm"});
    ASSERT_EQ(pages.size(), 1) << "one page";
    const QImage page(box.root.path() + "/" + pages[0]);
    ASSERT_FALSE(page.isNull());
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 160) ink |= QRect(x, y, 1, 1);
    std::cout << "page " << page.width() << "x" << page.height() << ", sheet ink at " << ink.x() << ","
              << ink.y() << " size " << ink.width() << "x" << ink.height() << "\n";
    const QRect sheet(37, 37, 340, 287); // 338 x 285 from 37.8, a pixel of slack
    EXPECT_TRUE(sheet.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                                     << ink.height();
    EXPECT_GE(ink.width(), 310);  // the title row spans nearly the whole width
    EXPECT_GE(ink.height(), 255); // title at 6 down to the signature line at 254
    EXPECT_LE(ink.top(), 38 + 12);

    const QString text = QString::fromUtf8(RunTool("pdftotext", {"-layout", pdf, "-"}));
    const QStringList lines = text.split('\n');
    const struct {
        QString first;
        QString holds;
    } rows[] = {
        {"ERJ-145LR Ops Flight Plan", {}},
        {"Operator", "Date"},
        {"Origin", FieldText(r.json, "Edit1")},
        {"Dest", "EHAM"},
        {"Altn", FieldText(r.json, "Edit3")},
        {"Pax", "Cargo"},
        {"BOW", "Payload"},
        {FieldText(r.json, "Edit17"), FieldText(r.json, "Edit26")},
        {"Taxi", "Resrv"},
        {FieldText(r.json, "Edit18"), FieldText(r.json, "Edit29")},
        {"Weights in:", "lbs"},
        {"Reserve mode:", FieldText(r.json, "cb3")},
        {"Pilot-in-command:", "....."},
    };
    qsizetype at = 0;
    for (const auto& row : rows) {
        while (at < lines.size() && !lines[at].contains(row.first))
            ++at;
        ASSERT_LT(at, lines.size()) << "row " << row.first.toStdString() << " in order in:\n"
                                    << text.toStdString();
        EXPECT_TRUE(lines[at].contains(row.holds)) << lines[at].toStdString();
        ++at;
    }
    EXPECT_TRUE(text.contains(before) || text.contains(after)) << text.toStdString();
}

TEST(PlanPrintPdf, JsonIsUnchangedAndFailuresAreListed) {
    const PrintSandbox box;
    const auto plain = RunCli(box.Plan({}), box.Env());
    const auto printed = RunCli(box.Plan({"--print-pdf", box.root.path() + "/a.pdf"}), box.Env());
    ASSERT_EQ(printed.exitCode, 0);
    EXPECT_EQ(printed.json["fields"], plain.json["fields"]);
    EXPECT_EQ(printed.json["errors"], plain.json["errors"]);

    const QString unwritable = box.root.path() + "/no such folder/b.pdf";
    const auto failed = RunCli(box.Plan({"--print-pdf", unwritable}), box.Env());
    EXPECT_EQ(failed.exitCode, 0);
    const QJsonArray errors = failed.json["errors"].toArray();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].toString().startsWith("The ops flight plan could not be written to " + unwritable))
        << errors[0].toString().toStdString();
    EXPECT_FALSE(QFileInfo::exists(unwritable));

    for (const QStringList& bad : {QStringList{"--print-pdf"}, QStringList{"--print-pdf", ""}})
        EXPECT_EQ(RunCli(box.Plan(bad), box.Env()).exitCode, 2);
}
