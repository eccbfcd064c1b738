#include "core/rounding.h"

#include <cmath>

namespace vantrel {

std::int64_t RoundHalfEven(double value) {
    // nearbyint honours the current rounding mode, which is round-to-nearest-even by default;
    // use it explicitly instead of relying on the mode someone else may have changed.
    double floor_value = std::floor(value);
    double diff = value - floor_value;
    double result;
    if (diff > 0.5) {
        result = floor_value + 1.0;
    } else if (diff < 0.5) {
        result = floor_value;
    } else {
        result = std::fmod(floor_value, 2.0) == 0.0 ? floor_value : floor_value + 1.0;
    }
    return static_cast<std::int64_t>(result);
}

} // namespace vantrel
