#pragma once
#include <cstddef>
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

    // Throws UserError(UnableToWrite(...)) when the file cannot be replaced.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, long long value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // Holds the writes that follow in memory (reads see them) until CommitWrites, which
    // replaces the file once: a burst of keys costs one durable write instead of one per key.
    // A file that exists but cannot be read is not deferred: each write then fails on its own.
    void DeferWrites();
    // Writes what was deferred; throws UserError like a single write. Nothing to do when no
    // write was deferred.
    void CommitWrites();

private:
    std::string path_;
    bool deferring_ = false;
    bool dirty_ = false;
    std::string pending_; // the file's content while writes are deferred
};

// Defers a file's writes for the length of a scope and commits them at its end, also when an
// error ends the scope early, so the keys written before the error are kept.
class DeferredProfileWrites {
public:
    explicit DeferredProfileWrites(ProfileFile& file) : file_(file) { file_.DeferWrites(); }
    ~DeferredProfileWrites();
    DeferredProfileWrites(const DeferredProfileWrites&) = delete;
    DeferredProfileWrites& operator=(const DeferredProfileWrites&) = delete;

private:
    ProfileFile& file_;
};

// Reads a whole file as bytes; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& content);

// Reads at most limit bytes of a file; tooLarge tells that more followed (content then holds
// the first limit bytes). An oversized file is recognised without reading it all. False when
// the file cannot be opened or read.
bool ReadFileUpTo(const std::string& path, std::size_t limit, std::string& content, bool& tooLarge);

// "Unable to write to <path>: <reason>", the text every failed write of a file shows.
std::string UnableToWrite(const std::string& path, const std::string& reason);

// Replaces a file's content through a temporary file in the same folder and a rename.
// Throws UserError(UnableToWrite(path, reason)) on failure; the old file stays intact.
void WriteFileAtomically(const std::string& path, const std::string& content);

} // namespace vantrel
