#pragma once
#include <string>

namespace vantrel {

// Each writer below gives the system's reason for a failure ("No space left on device") in
// *reason when it is not null, so a caller can show the user what went wrong.

// Appends bytes to a file (created when missing) in one write and makes them durable before
// returning. False when the file cannot be opened or the whole text was not written; the file
// is then cut back to its old length, so a reader never sees part of the text.
bool AppendDurably(const std::string& path, const std::string& bytes, std::string* reason = nullptr);

// Copies a file to another path through a temporary file beside the copy and a rename, so the
// copy is either complete or absent. False on any failure (the source is never touched).
bool CopyFileAtomically(const std::string& from, const std::string& to, std::string* reason = nullptr);

// Replaces a file's content through a temporary file in the same folder, made durable before a
// rename puts it in place: the file is either the old one or the new one, never empty or cut
// short. An existing file keeps its permissions; a linked file is replaced at the link's
// target. False on any failure; the old file is then untouched and no temporary file is left.
bool ReplaceFileDurably(const std::string& path, const std::string& content, std::string* reason = nullptr);

} // namespace vantrel
