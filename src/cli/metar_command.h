#pragma once

namespace vantrel::cli {

// vantrel-cli metar --airport-line LINE (--reply-file F | --reply TEXT)
// Applies the weather button's handling to a server reply (line feeds to blanks, validity
// test, decoding) and prints {"spoken": true, "text": S} or {"spoken": false}.
// Returns 2 when the command line is wrong, else 0.
int RunMetarCommand(int argc, char** argv);

} // namespace vantrel::cli
