#include "report_command.h"

#include "json_writer.h"
#include "plan_edits.h"

#include "shell/support_report.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <iostream>
#include <string>

namespace vantrel::cli {

namespace {

QJsonArray TextArray(const std::vector<std::string>& texts) {
    QJsonArray array;
    for (const std::string& text : texts)
        array.append(JsonText(text));
    return array;
}

} // namespace

int RunReportCommand(int argc, char** argv) {
    std::string folder, programDir, problem;
    for (int i = 2; i < argc && problem.empty(); ++i) {
        const std::string arg = argv[i];
        if (arg == "--program-dir" && i + 1 < argc)
            programDir = argv[++i];
        else if (folder.empty() && !arg.empty() && arg[0] != '-')
            folder = arg;
        else
            problem = "unknown or incomplete option: " + arg;
    }
    if (problem.empty() && folder.empty()) problem = "the report's folder is missing";
    const QCoreApplication app(argc, argv);
    if (programDir.empty()) programDir = QCoreApplication::applicationDirPath().toStdString();
    if (!problem.empty() || !CheckProgramDir(programDir, problem)) {
        std::cerr << "vantrel-cli report: " << problem
                  << "\nusage: vantrel-cli report DIR [--program-dir DIR]\n";
        return 2;
    }
    const SupportReport report = WriteSupportReport(programDir, folder);
    PrintJson({{"folder", JsonText(report.folder)},
               {"written", TextArray(report.written)},
               {"failures", TextArray(report.failures)},
               {"message", JsonText(DescribeSupportReport(report))}});
    return report.Ok() ? 0 : 1;
}

} // namespace vantrel::cli
