#pragma once

namespace vantrel {
// The application's title as the desktop shows it.
extern const char* const kApplicationTitle;
} // namespace vantrel
