#pragma once
#include <cstdint>

namespace vantrel {

// Rounds to the nearest integer with halves going to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), the rounding every weight and time uses.
std::int64_t RoundHalfEven(double value);

// Integer division truncating toward zero, spelled out where the plan's rules say "div".
inline std::int64_t Div(std::int64_t a, std::int64_t b) {
    return a / b;
}

} // namespace vantrel
