#pragma once

namespace vantrel {

// The fonts shipped in the program folder's lib/fonts (the Windows downloads carry DejaVu there):
// registered with the toolkit, and DejaVu Sans made the windows' font, so that the fixed window
// layouts draw with the metrics they were laid out for whatever fonts the system has. Without
// the folder (a Linux build uses the system's fonts) nothing changes.
void UseShippedFonts();

} // namespace vantrel
