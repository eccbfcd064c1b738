#include "planning/speed_file.h"

#include "core/convert.h"
#include "core/profile_file.h"

#include <map>
#include <mutex>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace vantrel {

namespace {

// A speed file holds a few hundred short lines; a bigger file is not one.
constexpr std::size_t kMaxSpeedFileBytes = 1024 * 1024;

std::string ReadSpeedFile(const std::string& path) {
    std::string content;
    bool tooLarge = false;
    if (!ReadFileUpTo(path, kMaxSpeedFileBytes, content, tooLarge)) throw UserError("File not found");
    if (tooLarge) throw UserError("Speed table too large: " + path);
    return content;
}

#ifndef _WIN32
// The files are looked at on every speeds computation, several times a second while the
// user types. A file whose size and modification time are unchanged since the last read
// is taken from memory; any change of the file is read afresh.
struct CachedFile {
    std::string content;
    off_t size = -1;
    struct timespec mtime {};
};

std::string CachedRead(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return ReadSpeedFile(path);
    static std::mutex mutex;
    static std::map<std::string, CachedFile> cache;
    std::lock_guard<std::mutex> lock(mutex);
    CachedFile& entry = cache[path];
    if (entry.size != st.st_size || entry.mtime.tv_sec != st.st_mtim.tv_sec ||
        entry.mtime.tv_nsec != st.st_mtim.tv_nsec) {
        entry.content = ReadSpeedFile(path);
        entry.size = st.st_size;
        entry.mtime = st.st_mtim;
    }
    return entry.content;
}
#else
std::string CachedRead(const std::string& path) {
    return ReadSpeedFile(path);
}
#endif

} // namespace

SpeedFile::SpeedFile(const std::string& path) : content_(CachedRead(path)) {}

SpeedFile SpeedFile::FromText(std::string text) {
    SpeedFile file;
    file.content_ = std::move(text);
    return file;
}

void SpeedFile::Rewind() {
    position_ = 0;
    currentBegin_ = currentLength_ = 0;
}

void SpeedFile::ReadLine() {
    if (AtEnd()) {
        currentBegin_ = currentLength_ = 0; // reading past the end yields empty lines
        return;
    }
    std::size_t end = content_.find('\n', position_);
    if (end == std::string::npos) end = content_.size();
    std::size_t stop = end;
    if (stop > position_ && content_[stop - 1] == '\r') --stop; // CR LF line ends
    currentBegin_ = position_;
    currentLength_ = stop - position_;
    position_ = end + 1;
}

// Finds the first line at or after the read position that equals the marker, the way reading
// line by line would, without walking the lines one at a time.
bool SpeedFile::SeekMarker(std::string_view marker) {
    const std::string_view text(content_);
    std::size_t from = position_;
    while (!marker.empty() && from < text.size()) {
        const std::size_t at = text.find(marker, from);
        if (at == std::string_view::npos) break;
        const bool lineStart = at == 0 || text[at - 1] == '\n';
        std::size_t after = at + marker.size();
        const bool lineEnd = after == text.size() || text[after] == '\n' ||
                             (text[after] == '\r' && (after + 1 == text.size() || text[after + 1] == '\n'));
        if (lineStart && lineEnd && at >= position_) {
            currentBegin_ = at;
            currentLength_ = marker.size();
            if (after < text.size() && text[after] == '\r') ++after;
            position_ = after + 1;
            return true;
        }
        from = at + 1;
    }
    return false;
}

std::string SpeedFile::Lookup(const std::string& marker, int row) {
    if (Current() != marker && !SeekMarker(marker)) {
        // Not in the rest of the file: reading stops at its end.
        while (!AtEnd())
            ReadLine();
    }
    for (int i = 0; i <= row; ++i)
        ReadLine();
    return std::string(Current());
}

} // namespace vantrel
