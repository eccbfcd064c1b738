#pragma once
#include <string>

namespace vantrel {

// Appends bytes to a file (created when missing) in one write and makes them durable before
// returning. False when the file cannot be opened or the whole text was not written; the file
// is then cut back to its old length, so a reader never sees part of the text.
bool AppendDurably(const std::string& path, const std::string& bytes);

// Copies a file to another path through a temporary file beside the copy and a rename, so the
// copy is either complete or absent. False on any failure (the source is never touched).
bool CopyFileAtomically(const std::string& from, const std::string& to);

} // namespace vantrel
