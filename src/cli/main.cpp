// vantrel-cli: the headless front end of Vantrel Suite. Prints one JSON object on stdout.
#include "app_version.h"
#include "cli/ipc_command.h"
#include "metar_command.h"
#include "plan_command.h"
#include "report_command.h"
#include "session.h"
#include "speech_commands.h"

#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (vantrel::PrintVersionIfAsked(argc, argv)) return 0;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "plan") return vantrel::cli::RunPlanCommand(argc, argv);
    if (command == "session") return vantrel::cli::RunSessionCommand(argc, argv);
    if (command == "ipc") return vantrel::RunIpcCommand(argc, argv);
    if (command == "metar") return vantrel::cli::RunMetarCommand(argc, argv);
    if (command == "speak") return RunSpeakCommand(argc, argv);
    if (command == "voices") return RunVoicesCommand(argc, argv);
    if (command == "report") return vantrel::cli::RunReportCommand(argc, argv);
    std::cerr
        << "usage: vantrel-cli plan --program-dir DIR [--edit NAME=VALUE]... [--answer-no] [--save]\n"
           "                        [--print-pdf FILE]\n"
           "       vantrel-cli session --program-dir DIR [--now YYYY-MM-DDTHH:MM:SS] [--utc-bias MINUTES] "
           "[--answer-no]\n"
           "                        [--log-level off|info|detail]\n"
           "       vantrel-cli ipc [--read OFFSET:SIZE]... [--write OFFSET:SIZE=VALUE]...\n"
           "       vantrel-cli metar --airport-line LINE (--reply-file F | --reply TEXT)\n"
           "       vantrel-cli speak --voice N --out FILE.wav TEXT...\n"
           "       vantrel-cli voices\n"
           "       vantrel-cli report DIR [--program-dir DIR]\n"
           "       vantrel-cli --version\n";
    return 2;
}
