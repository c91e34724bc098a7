#pragma once
// Reading the numbers of monitor files: a fast path for the decimal numbers
// that solvers write, e.g. "1.2345678e-03", and the full value grammar.

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
// The same, correctly rounded to double (m * 10^e rounds once).
const char* readDecimalDoublePrefix(const char* begin, const char* end, double& value);

// Reads the number at the start of [begin, end) as solvers write it in their
// text (OpenFOAM, SU2), in double precision: a decimal with an optional sign
// ("+" too) and exponent, or nan, inf, infinity. Numbers beyond the double
// range become an infinity, tiny ones zero or a denormal. Returns where the
// number ends, or null when the text does not start with one.
const char* readSolverNumberPrefix(const char* begin, const char* end, double& value);
// The same for a whole token; false, leaving value alone, for anything else.
bool readSolverNumber(std::string_view token, double& value);
// readCommonFloatPrefix() (CommonFloat.h) is a faster readDecimalFloatPrefix()
// for the shapes solvers write most.

enum class FloatRead { Ok, NotANumber, OutOfRange };

// Reads a whole token as a monitor-file value (docs/formats.md): an optional
// sign, then digits with an optional fraction ("5.", "1.5") or a fraction
// alone (".5"), then an optional exponent ("e" or "E", optional sign,
// digits); or an optional sign, then "nan", "inf" or "infinity" in any case
// ("-nan" has the sign bit set). Correctly rounded to float: numbers too small
// become 0 or a denormal, numbers too large are OutOfRange. Anything else
// (hexadecimal, "nan(...)", inner blanks, a second sign) is NotANumber.
FloatRead readFloatValue(std::string_view token, float& value);

}  // namespace mon
