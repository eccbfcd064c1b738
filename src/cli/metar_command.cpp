#include "metar_command.h"

#include "json_writer.h"

#include "core/profile_file.h"

#include "voice/http_fetcher.h"
#include "voice/weather_report.h"

#include <iostream>
#include <optional>
#include <string>

namespace vantrel::cli {

namespace {

// The HTTP client rejects a larger reply, so a larger reply file is not spoken either.
constexpr std::size_t kMaxReplyBytes = static_cast<std::size_t>(kMaxHttpBodyBytes);

struct MetarOptions {
    std::optional<std::string> airportLine;
    std::optional<std::string> reply;
    std::optional<std::string> replyFile;
};

bool ParseOptions(int argc, char** argv, MetarOptions& options, std::string& problem) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--airport-line" && hasValue && !options.airportLine) {
            options.airportLine = argv[++i];
        } else if (arg == "--reply" && hasValue && !options.reply) {
            options.reply = argv[++i];
        } else if (arg == "--reply-file" && hasValue && !options.replyFile) {
            options.replyFile = argv[++i];
        } else {
            problem = "unknown, repeated or incomplete option: " + arg;
            return false;
        }
    }
    if (!options.airportLine) {
        problem = "--airport-line LINE is required";
        return false;
    }
    if (options.reply.has_value() == options.replyFile.has_value()) {
        problem = "give exactly one of --reply-file F and --reply TEXT";
        return false;
    }
    return true;
}

} // namespace

int RunMetarCommand(int argc, char** argv) {
    MetarOptions options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem)) {
        std::cerr << "vantrel-cli metar: " << problem << "\n"
                  << "usage: vantrel-cli metar --airport-line LINE (--reply-file F | --reply TEXT)\n";
        return 2;
    }
    std::string reply;
    bool tooLarge = false;
    if (options.replyFile) {
        if (!ReadFileUpTo(*options.replyFile, kMaxReplyBytes, reply, tooLarge)) {
            std::cerr << "vantrel-cli metar: cannot read " << *options.replyFile << "\n";
            return 2;
        }
    } else {
        reply = *options.reply;
        tooLarge = reply.size() > kMaxReplyBytes;
    }
    const std::optional<std::string> sentence =
        tooLarge ? std::nullopt : SentenceFromReply(reply, *options.airportLine);
    if (sentence)
        std::cout << "{\"spoken\": true, \"text\": " << JsonString(*sentence) << "}\n";
    else
        std::cout << "{\"spoken\": false}\n";
    return 0;
}

} // namespace vantrel::cli
