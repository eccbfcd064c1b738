#include "shell/sim_paths.h"

#include "core/event_log.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantrel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSimKey = "SOFTWARE\\MICROSOFT\\MICROSOFT GAMES\\FLIGHT SIMULATOR\\9.0";
constexpr const char* kSimValue = "EXE Path";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kDocumentsValue = "Personal";

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

[[maybe_unused]] bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder;
}

#ifdef _WIN32

// A string value of the registry, read without creating anything; empty when missing.
std::string ReadRegistryString(HKEY root, const char* key, const char* value, REGSAM view) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ | view, &handle) != ERROR_SUCCESS) return "";
    std::string result;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(handle, value, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0 && size < 65536) {
        std::vector<char> buffer(size + 1, '\0');
        if (RegQueryValueExA(handle, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) ==
            ERROR_SUCCESS)
            result = buffer.data();
    }
    RegCloseKey(handle);
    return result;
}

#else

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

// Wine registry files escape backslashes, quotes and non-ASCII characters (\x followed by up
// to four hex digits, a UTF-16 code unit, written here as UTF-8).
std::string UnescapeRegistryText(const std::string& s, std::size_t& i) {
    std::string out;
    while (i < s.size() && s[i] != '"') {
        char c = s[i++];
        if (c != '\\' || i >= s.size()) {
            out += c;
            continue;
        }
        char e = s[i++];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case 'x': {
            unsigned code = 0;
            int digits = 0;
            while (digits < 4 && i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i]))) {
                const char h = Lower(s[i++]);
                code = code * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : h - 'a' + 10);
                ++digits;
            }
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
            break;
        }
        default:
            out += e;
            break;
        }
    }
    if (i < s.size()) ++i; // closing quote
    return out;
}

// The key of a "[Software\\Microsoft\\...] 1700000000" line, backslashes unescaped.
std::optional<std::string> RegistryKeyOfLine(const std::string& line) {
    if (line.empty() || line[0] != '[') return std::nullopt;
    std::string key;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ']') return key;
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        key += line[i];
    }
    return std::nullopt;
}

// Registry files larger than this are not a Wine prefix's and are not read.
constexpr std::uintmax_t kMaxRegistryFileBytes = 256u << 20;

std::string XdgDocumentsFolder(const std::string& home) {
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    while (in && std::getline(in, line)) {
        if (line.size() > 4096) continue;
        const std::string prefix = "XDG_DOCUMENTS_DIR=";
        if (line.rfind(prefix, 0) != 0) continue;
        std::string v = line.substr(prefix.size());
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        if (v.rfind("$HOME", 0) == 0) v = home + v.substr(5);
        if (!v.empty() && v[0] == '/') return v;
    }
    return "";
}

// The simulator's value in a prefix's system.reg (a Windows path); nothing when it lacks it.
std::optional<std::string> SimulatorValueInPrefix(const std::string& prefix) {
    const std::string reg = prefix + "/system.reg";
    // A 64-bit prefix keeps a 32-bit program's keys below Wow6432Node.
    auto value = ReadWineRegistryString(reg, std::string("Software\\Wow6432Node") + (kSimKey + 8), kSimValue);
    if (!value) value = ReadWineRegistryString(reg, kSimKey, kSimValue);
    if (!value || value->empty()) return std::nullopt;
    return value;
}

// Folders looked at per place; a home with more is not searched further.
constexpr std::size_t kMaxPrefixesPerPlace = 64;

// The folders below `folder` whose names start with `start`, sorted.
std::vector<std::string> SubFolders(const std::string& folder, const std::string& start = "") {
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end && found.size() < kMaxPrefixesPerPlace;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(start, 0) == 0 && it->is_directory(ec)) found.push_back(it->path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The time a prefix was last used: when Wine last saved one of its registry files.
fs::file_time_type LastUsed(const std::string& prefix) {
    fs::file_time_type last = fs::file_time_type::min();
    for (const char* file : {"/system.reg", "/user.reg", "/userdef.reg"}) {
        std::error_code ec;
        const auto t = fs::last_write_time(prefix + file, ec);
        if (!ec && t > last) last = t;
    }
    return last;
}

#endif

} // namespace

std::vector<std::string> UsualWinePrefixes(const std::string& home) {
    std::vector<std::string> prefixes;
#ifdef _WIN32
    (void)home;
#else
    if (home.empty()) return prefixes;
    const auto add = [&](const std::vector<std::string>& folders) {
        for (const std::string& f : folders)
            if (std::find(prefixes.begin(), prefixes.end(), f) == prefixes.end()) prefixes.push_back(f);
    };
    add({home + "/.wine"});
    add(SubFolders(home, ".wine"));
    add(SubFolders(home + "/.local/share/wineprefixes"));
    add(SubFolders(home + "/Games")); // Lutris
    add(SubFolders(home + "/.local/share/bottles/bottles"));
    add(SubFolders(home + "/.var/app/com.usebottles.bottles/data/bottles/bottles"));
    add(SubFolders(home + "/.PlayOnLinux/wineprefix"));
#endif
    return prefixes;
}

std::string FindSimulatorPrefix(const std::string& home) {
#ifdef _WIN32
    (void)home;
    return "";
#else
    std::string best;
    fs::file_time_type best_used = fs::file_time_type::min();
    for (const std::string& prefix : UsualWinePrefixes(home)) {
        if (!SimulatorValueInPrefix(prefix)) continue;
        const fs::file_time_type used = LastUsed(prefix);
        if (best.empty() || used > best_used) {
            best = prefix;
            best_used = used;
        }
    }
    return best;
#endif
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == kPathSeparator || last == '/') return folder + name;
    return folder + kPathSeparator + name;
}

std::string WinePrefix() {
#ifdef _WIN32
    return "";
#else
    std::string prefix = Env("WINEPREFIX");
    if (!prefix.empty()) {
        LogChange("start", "wine prefix", "Wine prefix: " + prefix + " (WINEPREFIX)");
        return prefix;
    }
    const std::string home = Env("HOME");
    if (home.empty()) return "";
    const std::string found = FindSimulatorPrefix(home);
    LogChange("start", "wine prefix",
              found.empty() ? "Wine prefix: none of the usual places holds FS2004, so " + home + "/.wine"
                            : "Wine prefix: " + found + " (holds FS2004, the last used of the usual places)");
    return found.empty() ? home + "/.wine" : found;
#endif
}

std::optional<std::string> ReadWineRegistryString(const std::string& regFile, const std::string& key,
                                                  const std::string& valueName) {
#ifdef _WIN32
    (void)regFile;
    (void)key;
    (void)valueName;
    return std::nullopt;
#else
    std::error_code ec;
    const auto size = fs::file_size(regFile, ec);
    if (ec || size > kMaxRegistryFileBytes) return std::nullopt;
    std::ifstream in(regFile, std::ios::binary);
    if (!in) return std::nullopt;
    bool inside = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (auto k = RegistryKeyOfLine(line)) {
            inside = EqualNoCase(*k, key);
            continue;
        }
        if (!inside || line.empty() || line[0] != '"') continue;
        std::size_t i = 1;
        const std::string name = UnescapeRegistryText(line, i);
        if (!EqualNoCase(name, valueName) || i >= line.size() || line[i] != '=') continue;
        ++i;
        // REG_SZ is written "text", REG_EXPAND_SZ str(2):"text"; other types are not strings.
        if (line.compare(i, 7, "str(2):") == 0) i += 7;
        if (i >= line.size() || line[i] != '"') return std::nullopt;
        ++i;
        return UnescapeRegistryText(line, i);
    }
    return std::nullopt;
#endif
}

std::string ResolvePathCase(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;
    const fs::path p(path);
    fs::path resolved = p.root_path();
    bool any = false;
    for (const auto& part : p.relative_path()) {
        any = true;
        const fs::path exact = resolved / part;
        if (part == "." || part == ".." || fs::exists(exact, ec)) {
            resolved = exact;
            continue;
        }
        std::optional<fs::path> match;
        for (fs::directory_iterator it(resolved.empty() ? fs::path(".") : resolved, ec), end;
             !ec && it != end; it.increment(ec)) {
            if (EqualNoCase(it->path().filename().string(), part.string())) {
                match = it->path().filename();
                break;
            }
        }
        if (!match) return path;
        resolved /= *match;
    }
    if (!any) return path;
    std::string out = resolved.string();
    // Keep a trailing separator the caller wrote (folder values end with one).
    if (!path.empty() && path.back() == '/' && (out.empty() || out.back() != '/')) out += '/';
    return out;
#endif
}

std::string MapWinePath(const std::string& prefix, const std::string& windowsPath) {
    if (prefix.empty() || windowsPath.size() < 2 || windowsPath[1] != ':' ||
        !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
        return "";
    const std::string drive = std::string(1, Lower(windowsPath[0])) + ":";
    std::string base = prefix + "/dosdevices/" + drive;
    std::error_code ec;
    if (!fs::exists(base, ec) && drive == "c:") base = prefix + "/drive_c";
    std::string rest = windowsPath.substr(2);
    for (char& c : rest)
        if (c == '\\') c = '/';
    while (!rest.empty() && rest.back() == '/')
        rest.pop_back();
    std::string mapped = ResolvePathCase(base + (rest.empty() || rest[0] == '/' ? "" : "/") + rest);
    // Show the real folder rather than the dosdevices link when it exists.
    const fs::path real = fs::weakly_canonical(mapped, ec);
    return ec ? mapped : real.string();
}

std::string ReadSimulatorPath() {
#ifdef _WIN32
    // The simulator is a 32-bit program: its key lives in the registry's 32-bit view.
    LogEvent("start", std::string("simulator folder: registry HKLM\\") + kSimKey + " \"" + kSimValue + "\"");
    return ReadRegistryString(HKEY_LOCAL_MACHINE, kSimKey, kSimValue, KEY_WOW64_32KEY);
#else
    const std::string env = Env("VANTREL_FS_PATH");
    if (!env.empty()) return env;
    const std::string prefix = WinePrefix();
    if (prefix.empty()) return "";
    LogEvent("start", "simulator folder: looked up in " + prefix + "/system.reg");
    const auto value = SimulatorValueInPrefix(prefix);
    return value ? MapWinePath(prefix, *value) : "";
#endif
}

std::string ReadDocumentsFolder() {
#ifdef _WIN32
    LogEvent("start", std::string("documents folder: registry HKCU\\") + kShellFoldersKey + " \"Personal\"");
    return WithSeparator(ReadRegistryString(HKEY_CURRENT_USER, kShellFoldersKey, kDocumentsValue, 0));
#else
    const std::string env = Env("VANTREL_DOCUMENTS");
    if (!env.empty()) return WithSeparator(env);
    const std::string prefix = WinePrefix();
    if (!prefix.empty()) {
        LogEvent("start", "documents folder: looked up in " + prefix + "/user.reg");
        if (auto value = ReadWineRegistryString(prefix + "/user.reg", kShellFoldersKey, kDocumentsValue)) {
            const std::string mapped = MapWinePath(prefix, *value);
            if (!mapped.empty()) return WithSeparator(mapped);
        }
    }
    const std::string home = Env("HOME");
    if (home.empty()) return WithSeparator("");
    std::string xdg = XdgDocumentsFolder(home);
    return WithSeparator(xdg.empty() ? home + "/Documents" : xdg);
#endif
}

} // namespace vantrel
