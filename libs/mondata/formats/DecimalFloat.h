#pragma once
// Fast reading of the decimal numbers that solvers write, e.g. "1.2345678e-03".

#include <string_view>

namespace mon {

// Reads a whole token of the form [+-]digits[.digits][(e|E)[+-]digits] when
// it has at most 19 significant digits and its value is m * 10^e with
// m < 2^53 and |e| <= 22: then m and 10^|e| are exact doubles, one multiply
// or divide rounds once to double, and rounding that to float gives the
// correctly rounded float (double has more than twice float's precision plus
// two bits, so the second rounding cannot differ). Returns false, leaving
// value alone, for anything else (callers fall back to a general reader).
bool readDecimalFloat(std::string_view token, float& value);
// The same for the number at the start of [begin, end): returns where it
// ends, or null when the fast path does not take it.
const char* readDecimalFloatPrefix(const char* begin, const char* end, float& value);

}  // namespace mon
