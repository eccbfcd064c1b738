#pragma once
#include <cstdint>

namespace vantrel {

// The take-off table, 'A', 'B' or 'C', for the origin's pressure altitude (ft) and the outside
// air temperature (degrees C): hotter and higher fields use the later tables.
char TakeoffTable(int pressureAltitude, int temperature);

// The weight row of a take-off block for a take-off weight in pounds: 0 above 48,000 lb,
// then 1 for 48,000 down to 19 for 30,000 (a weight up to 100 lb above a whole thousand
// counts as that thousand).
int TakeoffRow(std::int64_t pounds);

// The weight row of a landing block: 0 for 48,000 lb and above down to 20 for 28,000.
int LandingRow(std::int64_t pounds);

} // namespace vantrel
