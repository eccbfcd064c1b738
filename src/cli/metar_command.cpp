#include "metar_command.h"

#include "json_writer.h"

#include "voice/weather_report.h"

#include <fstream>
#include <iostream>
#include <optional>
#include <string>

namespace vantrel::cli {

namespace {

// The HTTP client rejects a larger reply, so a larger reply file is not spoken either.
constexpr std::size_t kMaxReplyBytes = 64 * 1024;

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

// Reads at most limit + 1 bytes, so an oversized file is recognised without reading it all.
bool ReadReplyFile(const std::string& path, std::string& content, bool& tooLarge) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content.assign(kMaxReplyBytes + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.bad()) return false;
    content.resize(static_cast<std::size_t>(in.gcount()));
    tooLarge = content.size() > kMaxReplyBytes;
    return true;
}

// Strictly valid UTF-8 stays; every byte outside a valid sequence (overlong forms and
// surrogates included) is taken as Latin-1, so the output is valid UTF-8 whatever the reply.
std::string ToValidUtf8(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        unsigned lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (c < 0x80) {
            n = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        }
        bool valid = n > 0 && i + n <= s.size();
        for (std::size_t k = 1; valid && k < n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            valid = k == 1 ? (b >= lo && b <= hi) : (b >= 0x80 && b <= 0xBF);
        }
        if (valid) {
            out.append(s, i, n);
            i += n;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
            ++i;
        }
    }
    return out;
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
        if (!ReadReplyFile(*options.replyFile, reply, tooLarge)) {
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
        std::cout << "{\"spoken\": true, \"text\": " << JsonString(ToValidUtf8(*sentence)) << "}\n";
    else
        std::cout << "{\"spoken\": false}\n";
    return 0;
}

} // namespace vantrel::cli
