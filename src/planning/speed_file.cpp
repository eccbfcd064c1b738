#include "planning/speed_file.h"

#include "core/convert.h"

#include <cstdio>
#include <memory>

namespace vantrel {

namespace {

// A speed file holds a few hundred short lines; a bigger file is not one.
constexpr std::size_t kMaxSpeedFileBytes = 1024 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

SpeedFile::SpeedFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw UserError("File not found");
    char buffer[16384];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (content_.size() + got > kMaxSpeedFileBytes) throw UserError("Speed table too large: " + path);
        content_.append(buffer, got);
    }
}

SpeedFile SpeedFile::FromText(std::string text) {
    SpeedFile file;
    file.content_ = std::move(text);
    return file;
}

void SpeedFile::Rewind() {
    position_ = 0;
    current_.clear();
}

std::string SpeedFile::ReadLine() {
    if (AtEnd()) return {};
    std::size_t end = content_.find('\n', position_);
    if (end == std::string::npos) end = content_.size();
    std::size_t stop = end;
    if (stop > position_ && content_[stop - 1] == '\r') --stop; // CR LF line ends
    std::string line = content_.substr(position_, stop - position_);
    position_ = end + 1;
    return line;
}

std::string SpeedFile::Lookup(const std::string& marker, int row) {
    while (!AtEnd() && current_ != marker)
        current_ = ReadLine();
    for (int i = 0; i <= row; ++i)
        current_ = ReadLine();
    return current_;
}

} // namespace vantrel
