#include "libs/utilities/StringUtilities.h"

namespace owl {
namespace StringUtilities {

namespace {
const char* const kWhitespace = " \t\n\r\v\f";
}

std::vector<std::string> splitValue(const std::string& value, char separator) {
    std::vector<std::string> pieces;
    if (value.empty()) return pieces;
    size_t start = 0;
    for (;;) {
        size_t end = value.find(separator, start);
        if (end == std::string::npos) break;
        pieces.push_back(value.substr(start, end - start));
        start = end + 1;
    }
    pieces.push_back(value.substr(start));
    return pieces;
}

std::string removeWhitespace(const std::string& text) {
    size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

}  // namespace StringUtilities
}  // namespace owl
