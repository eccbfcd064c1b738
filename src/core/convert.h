#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

namespace vantrel {

// The error a computation raises when a field text is not a number. Its message is the
// exact text the user sees in the error box; the running computation stops there.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Any other error that the program shows in its standard error box ("File not found", ...).
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whole-text integer conversion: optional leading blanks, optional sign, decimal digits,
// or hexadecimal after "$" or "0x". Anything else, or a value outside 32 bits, throws
// ConvertError("'<text>' is not a valid integer value").
int StrToInt(const std::string& text);

// Like StrToInt but returns fallback instead of throwing.
int StrToIntDef(const std::string& text, int fallback);

// Floating-point conversion with a full stop as decimal mark, blanks allowed around the
// number, optional exponent. Throws ConvertError("'<text>' is not a valid floating point value").
double StrToFloat(const std::string& text);

std::string IntToStr(std::int64_t value);

// The text preceded by "0" characters up to the given width; unchanged when already as long.
std::string ZeroPad(const std::string& text, int width);
std::string ZeroPad(std::int64_t value, int width);

// Builds the exact conversion error texts.
std::string InvalidIntegerText(const std::string& text);
std::string InvalidFloatText(const std::string& text);

} // namespace vantrel
