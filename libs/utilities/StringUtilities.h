#pragma once
// Byte-string helpers of the utilities library.

#include <string>
#include <vector>

namespace owl {
namespace StringUtilities {

// Splits value at every separator. Every piece is kept, empty ones included,
// so n separators give n + 1 pieces ("A;;B;" gives A, "", B, ""); an empty
// value gives an empty list.
std::vector<std::string> splitValue(const std::string& value, char separator);

// The text without the whitespace at its two ends (blank, tab, line feed,
// carriage return, vertical tab, form feed). Whitespace inside is kept, so
// "  ACCUMULATED TIMESTEP " gives "ACCUMULATED TIMESTEP".
std::string removeWhitespace(const std::string& text);

}  // namespace StringUtilities
}  // namespace owl
