#pragma once
#include <string>

namespace vantrel {

// The suffix of the copy an add-on file keeps of itself before the program first changes it.
inline constexpr const char* kOriginalSuffix = ".vantrel-original";

// Before the program changes one of the simulator's files (aircraft.cfg, panel\erj.ini, a saved
// flight): keeps the file as it is as PATH.vantrel-original, once; a copy already there is never
// replaced, so it stays the add-on's own file however often Save runs. True when the copy is
// there (or the file does not exist, so there is nothing to keep); false with the failure's
// text ("Unable to write to PATH.vantrel-original: REASON") in *failure otherwise.
bool KeepOriginalOnce(const std::string& path, std::string* failure);

// A failed write into the simulator's folder with what to do about it: when the system refused
// access (FS2004's default place under C:\Program Files (x86) refuses every program), the text
// says how to give the folder back to the user. Other failures come back unchanged.
std::string WithSimFolderAdvice(const std::string& failure);

} // namespace vantrel
