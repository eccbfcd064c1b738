#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// A speed table file ("speeds/speeds9.txt", ...) opened for look-ups. Blocks are a marker line
// followed by one value line per weight row; the current line is held across look-ups, so a
// look-up without Rewind goes on from where the last one stopped.
class SpeedFile {
public:
    // Reads the file. Throws UserError("File not found") when it cannot be opened.
    explicit SpeedFile(const std::string& path);
    // Builds the file from text (tests).
    static SpeedFile FromText(std::string text);

    // Back to the top with the current line cleared.
    void Rewind();
    // Moves on until the current line equals the marker (exactly), then reads row + 1 further
    // lines and returns the last one. Reading past the end yields empty lines, so a missing
    // marker or a short block gives an empty value. A negative row returns the current line.
    std::string Lookup(const std::string& marker, int row);

private:
    SpeedFile() = default;
    bool AtEnd() const { return position_ >= content_.size(); }
    void ReadLine();
    bool SeekMarker(std::string_view marker);
    std::string_view Current() const {
        return std::string_view(content_).substr(currentBegin_, currentLength_);
    }

    std::string content_;
    std::size_t position_ = 0;
    // The current line as a range of content_ (lines are compared in place, not copied).
    std::size_t currentBegin_ = 0;
    std::size_t currentLength_ = 0;
};

} // namespace vantrel
