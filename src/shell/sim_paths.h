#pragma once
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// The folder separator of this system: "\" on Windows, "/" elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name, without doubling a separator the folder already ends with.
std::string JoinPath(const std::string& folder, const std::string& name);

// The simulator's install folder (its "EXE Path"), as a native path; empty when not found.
// Windows: the registry. Elsewhere: $VANTREL_FS_PATH, else the Wine prefix's system.reg
// (WinePrefix()).
std::string ReadSimulatorPath();

// The user's documents folder followed by a separator; just the separator when not found.
// Windows: the registry ("Personal"). Elsewhere: $VANTREL_DOCUMENTS, else the Wine prefix's
// user.reg, else the XDG documents folder or ~/Documents.
std::string ReadDocumentsFolder();

// ---- Wine prefix access (POSIX systems; exposed for tests)

// $WINEPREFIX; else the usual prefix that holds the simulator (FindSimulatorPrefix); else
// $HOME/.wine; empty when neither variable is set.
std::string WinePrefix();

// The folders where Wine prefixes usually are, in this order: ~/.wine, ~/.wine*,
// ~/.local/share/wineprefixes/*, Lutris' ~/Games/*, Bottles' ~/.local/share/bottles/bottles/*
// (and its Flatpak's ~/.var/app/com.usebottles.bottles/data/bottles/bottles/*), PlayOnLinux's
// ~/.PlayOnLinux/wineprefix/*.
std::vector<std::string> UsualWinePrefixes(const std::string& home);

// Of the usual prefixes, the one whose registry names the simulator's folder; of several, the
// one used last (its registry saved last), the earlier in the order above on a tie. Empty when
// none has it.
std::string FindSimulatorPrefix(const std::string& home);

// A string value of a key in a Wine registry file (system.reg, user.reg). Key and value names
// match without regard to case; the key is written with single backslashes, e.g.
// "Software\Microsoft\Windows". Nothing when the file, key or value is missing.
std::optional<std::string> ReadWineRegistryString(const std::string& regFile, const std::string& key,
                                                  const std::string& valueName);

// Maps a Windows path of the prefix ("C:\Program Files\FS9") to the native path through the
// prefix's dosdevices links, matching each folder name without regard to case as Windows
// does. Empty for a path without a drive letter.
std::string MapWinePath(const std::string& prefix, const std::string& windowsPath);

// The existing path that equals the given one without regard to the case of its names, or
// the path unchanged when there is none (POSIX; on Windows the path is returned as it is).
std::string ResolvePathCase(const std::string& path);

} // namespace vantrel
