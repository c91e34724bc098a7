#pragma once
// Table number formatting without iostream, byte-identical to what an
// std::ostream in the "C" locale writes for a float.

#include <cstddef>
#include <cstdint>

namespace owl {
namespace numberformat {

// Room enough for any text formatScientific(value, precision) and
// formatKeyInteger write: "-1.23456789e+38" and "-2147483648" fit in 16.
constexpr int maxFieldBytes(int precision) {
    return precision + 8 > 16 ? precision + 8 : 16;
}

// Writes value as `out << std::scientific << std::setprecision(8) << value`
// does (the float promoted to double, like printf "%.8e"): one digit, a
// point, eight digits, "e", the exponent's sign and at least two digits;
// "nan", "-nan", "inf", "-inf" for the special values. Returns the end.
char* formatScientific8(float value, char* out);

// A row of fields in that format, each followed by ",": the value at
// `record` of each of the count arrays, nothing for FLT_MAX (no value).
// Returns the end, past which it may write up to kFieldsOverrun bytes more
// (the caller's buffer has that room). The table's hot loop: eight values
// at a time with vector instructions where the processor has them
// (NumberFormatWide.h), else the formatter inlines here.
constexpr size_t kFieldsOverrun = 64;
char* formatScientific8Fields(const float* const* columns, size_t count, size_t record, char* out);

// The same with any precision from 0 up; slower unless precision is 8.
char* formatScientific(float value, int precision, char* out);

// A double the same way ("%.*e"), with precision from 0 to 16.
char* formatScientificDouble(double value, int precision, char* out);

// The fewest digits after the point, from fewest up to 16 (with which any two
// doubles differ), that write each value apart from the one before it in
// "%.*e": the precision of a column of times, whose consecutive values may
// differ in the tenth digit. FLT_MAX (no value), NaN and infinities are
// passed over.
int digitsToTellApart(const double* values, size_t count, int fewest);

// A key column's value as a whole number: truncated toward zero when it is
// within the 32-bit signed range; saturated to 2147483647 / -2147483648
// beyond it (infinities included); nothing at all for NaN.
char* formatKeyInteger(float value, char* out);

}  // namespace numberformat
}  // namespace owl
