#include "core/profile_file.h"

#include "core/convert.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vantrel {

namespace {

// One line of the file with its own line ending, so untouched lines are written back as read.
struct Line {
    std::string text;
    std::string ending;
};

std::vector<Line> SplitLines(const std::string& content) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t nl = content.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back({content.substr(start), ""});
            break;
        }
        std::size_t text_end = nl;
        if (text_end > start && content[text_end - 1] == '\r') --text_end;
        lines.push_back(
            {content.substr(start, text_end - start), content.substr(text_end, nl + 1 - text_end)});
        start = nl + 1;
    }
    return lines;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

// The section name when the line is a section header, e.g. "  [fltsim.0] ; c" -> "fltsim.0".
std::optional<std::string> SectionName(const std::string& line) {
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[') return std::nullopt;
    std::size_t close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// Key and value of a "key=value" line; no value for lines without "=".
bool SplitKeyValue(const std::string& line, std::string& key, std::string& value) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(line.substr(0, eq));
    value = Trim(line.substr(eq + 1));
    return true;
}

// A value enclosed in matching quotes is returned without them, as the system service does.
std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

struct Found {
    std::optional<std::size_t> section_line;    // header of the first matching section
    std::optional<std::size_t> key_line;        // first matching key inside a matching section
    std::optional<std::size_t> last_entry_line; // last non-blank line of the first matching section
};

Found Locate(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    Found f;
    bool inside = false;
    bool first_section_done = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = SectionName(lines[i].text)) {
            if (inside) first_section_done = true;
            inside = EqualNoCase(*name, section);
            if (inside && !f.section_line) f.section_line = i;
            continue;
        }
        if (!inside) continue;
        if (!first_section_done && !Trim(lines[i].text).empty()) f.last_entry_line = i;
        std::string k, v;
        if (!key.empty() && SplitKeyValue(lines[i].text, k, v) && EqualNoCase(k, key)) {
            f.key_line = i;
            return f;
        }
    }
    return f;
}

// Profile files are small text files; one larger than this is not read (its keys take their
// defaults) and never rewritten, so a stray huge file neither exhausts memory nor gets truncated.
constexpr std::uintmax_t kMaxProfileBytes = 32u << 20;

// The lines of the file: empty when it does not exist, nothing when it exists but cannot be
// read (then a write must not replace it with a file holding only the new key).
std::optional<std::vector<Line>> TryLoadLines(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return std::vector<Line>{};
    if (ec || !fs::is_regular_file(status)) return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec || size > kMaxProfileBytes) return std::nullopt;
    std::string content;
    if (!ReadWholeFile(path, content)) return std::nullopt;
    return SplitLines(content);
}

std::vector<Line> LoadLines(const std::string& path) {
    return TryLoadLines(path).value_or(std::vector<Line>{});
}

// A line break inside a name or value would add lines the caller never meant to write.
std::string SingleLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// Gives an unterminated line a line ending. A bare CR at its end stays part of its text: a
// lone LF after it would turn the pair into a CR LF ending and change the line.
void Terminate(Line& line, const std::string& ending) {
    if (!line.ending.empty()) return;
    line.ending = !line.text.empty() && line.text.back() == '\r' ? "\r\n" : ending;
}

std::string PreferredEnding(const std::vector<Line>& lines) {
    for (const auto& l : lines)
        if (!l.ending.empty()) return l.ending;
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

unsigned long CurrentProcessId() {
#ifdef _WIN32
    return static_cast<unsigned long>(_getpid());
#else
    return static_cast<unsigned long>(::getpid());
#endif
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    content = buffer.str();
    return true;
}

bool ReadFileUpTo(const std::string& path, std::size_t limit, std::string& content, bool& tooLarge) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    content.clear();
    tooLarge = false;
    // In chunks, so a generous limit costs nothing for a small file.
    char chunk[64 * 1024];
    while (in && content.size() <= limit) {
        in.read(chunk, static_cast<std::streamsize>(sizeof chunk));
        content.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) return false;
    tooLarge = content.size() > limit;
    if (tooLarge) content.resize(limit);
    return true;
}

void WriteFileAtomically(const std::string& path, const std::string& content) {
    namespace fs = std::filesystem;
    std::error_code linkError;
    // A linked file is replaced at the link's target, so the link keeps pointing at the data.
    fs::path target(path);
    if (fs::symlink_status(target, linkError).type() == fs::file_type::symlink) {
        target = fs::weakly_canonical(target, linkError);
        if (linkError) throw UserError("Unable to write to " + path);
    }
    std::error_code permError;
    const fs::file_status oldStatus = fs::status(target, permError);
    const bool keepPerms = !permError && fs::exists(oldStatus);
    fs::path temp = target;
    // A name of its own per write, so two writers (two program instances, or the command line
    // beside the window) never write into one temporary file.
    static std::atomic<unsigned> writes{0};
    std::ostringstream suffix;
    suffix << '.' << CurrentProcessId() << '-' << ++writes << ".tmp~";
    temp += suffix.str();
    const std::string failure = "Unable to write to " + path;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw UserError(failure);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            throw UserError(failure);
        }
    }
#ifndef _WIN32
    // Make the new content durable before it takes the old file's place.
    int fd = ::open(temp.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
    std::error_code ec;
    // The new file keeps the old one's permissions.
    if (keepPerms) fs::permissions(temp, oldStatus.permissions(), fs::perm_options::replace, permError);
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        throw UserError(failure);
    }
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}

namespace {

std::string JoinLines(const std::vector<Line>& lines) {
    std::string content;
    for (const auto& l : lines)
        content += l.text + l.ending;
    return content;
}

// The file's lines as the next read sees them: the deferred content while writes are held.
std::vector<Line> LinesOf(const std::string& path, const std::string* pending) {
    return pending ? SplitLines(*pending) : LoadLines(path);
}

} // namespace

void ProfileFile::DeferWrites() {
    if (deferring_) return;
    auto loaded = TryLoadLines(path_);
    if (!loaded) return; // an unreadable file: each write fails on its own, as without deferring
    pending_ = JoinLines(*loaded);
    deferring_ = true;
    dirty_ = false;
}

void ProfileFile::CommitWrites() {
    if (!deferring_) return;
    deferring_ = false;
    if (dirty_) WriteFileAtomically(path_, pending_);
    dirty_ = false;
    pending_.clear();
}

DeferredProfileWrites::~DeferredProfileWrites() {
    try {
        file_.CommitWrites();
    } catch (const UserError&) {
        // Each writer reports or ignores a failed write as it would a single one; the old
        // file stays intact either way.
    }
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    const auto lines = LinesOf(path_, deferring_ ? &pending_ : nullptr);
    const Found f = Locate(lines, section, key);
    if (!f.key_line) return fallback;
    std::string k, v;
    SplitKeyValue(lines[*f.key_line].text, k, v);
    return Unquote(v);
}

int ProfileFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
    const std::string text = ReadString(section, key, "");
    if (text.empty()) return fallback;
    return StrToIntDef(text, fallback);
}

bool ProfileFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool ProfileFile::SectionExists(const std::string& section) const {
    return Locate(LinesOf(path_, deferring_ ? &pending_ : nullptr), section, "").section_line.has_value();
}

bool ProfileFile::ValueExists(const std::string& section, const std::string& key) const {
    return Locate(LinesOf(path_, deferring_ ? &pending_ : nullptr), section, key).key_line.has_value();
}

std::vector<std::string> ProfileFile::ReadSectionKeys(const std::string& section) const {
    std::vector<std::string> keys;
    bool inside = false;
    for (const auto& line : LinesOf(path_, deferring_ ? &pending_ : nullptr)) {
        if (auto name = SectionName(line.text)) {
            if (inside) break;
            inside = EqualNoCase(*name, section);
            continue;
        }
        std::string k, v;
        if (inside && SplitKeyValue(line.text, k, v) && !k.empty()) keys.push_back(k);
    }
    return keys;
}

std::vector<std::string> ProfileFile::ReadSections() const {
    std::vector<std::string> names;
    for (const auto& line : LinesOf(path_, deferring_ ? &pending_ : nullptr))
        if (auto name = SectionName(line.text)) names.push_back(*name);
    return names;
}

void ProfileFile::WriteString(const std::string& rawSection, const std::string& rawKey,
                              const std::string& rawValue) {
    auto loaded = deferring_ ? std::optional<std::vector<Line>>(SplitLines(pending_)) : TryLoadLines(path_);
    if (!loaded) throw UserError("Unable to write to " + path_);
    auto& lines = *loaded;
    const std::string section = SingleLine(rawSection);
    const std::string key = SingleLine(rawKey);
    const std::string value = SingleLine(rawValue);
    const std::string ending = PreferredEnding(lines);
    const Found f = Locate(lines, section, key);
    const std::string entry = key + "=" + value;
    if (f.key_line) {
        lines[*f.key_line].text = entry;
    } else if (f.section_line) {
        const std::size_t after = f.last_entry_line.value_or(*f.section_line);
        Terminate(lines[after], ending);
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), Line{entry, ending});
    } else {
        if (!lines.empty()) Terminate(lines.back(), ending);
        lines.push_back({"[" + section + "]", ending});
        lines.push_back({entry, ending});
    }
    if (deferring_) {
        pending_ = JoinLines(lines);
        dirty_ = true;
        return;
    }
    WriteFileAtomically(path_, JoinLines(lines));
}

void ProfileFile::WriteInteger(const std::string& section, const std::string& key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace vantrel
