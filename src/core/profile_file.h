#pragma once
#include <string>
#include <vector>

namespace vantrel {

// Sectioned key=value text files (the settings file, the aircraft's panel file, aircraft.cfg,
// saved flights, checklists), read and written key by key:
// - section and key names match without regard to case; the first match wins;
// - a missing file, section or key gives the caller's default;
// - an integer read of a text that is not a whole number gives the default; "0x" reads as hex;
// - every write goes to the file at once, keeps every other line byte for byte (including its
//   line ending and 8-bit encoding) and replaces the file through a temporary file and a rename,
//   so a crash or a full disk never leaves a truncated file.
class ProfileFile {
public:
    explicit ProfileFile(std::string path);

    const std::string& Path() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The key names of a section, in file order.
    std::vector<std::string> ReadSectionKeys(const std::string& section) const;
    // The section names of the file, in file order.
    std::vector<std::string> ReadSections() const;

    // Throws UserError("Unable to write to <path>") when the file cannot be replaced.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

private:
    std::string path_;
};

// Reads a whole file as bytes; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& content);

// Replaces a file's content through a temporary file in the same folder and a rename.
// Throws UserError("Unable to write to <path>") on failure; the old file stays intact.
void WriteFileAtomically(const std::string& path, const std::string& content);

} // namespace vantrel
