#include "libs/mondata/text/TokenText.h"

#include "libs/exception/MessageText.h"

namespace mon {

namespace {
bool isBlankOrReturn(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}
}  // namespace

std::string_view trimmedField(std::string_view text) {
    while (!text.empty() && isBlankOrReturn(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlankOrReturn(text.back())) text.remove_suffix(1);
    return text;
}

std::string quotedToken(std::string_view token) {
    const size_t kMax = 40;
    std::string text(token.substr(0, kMax));
    if (token.size() > kMax) text += "...";
    return "'" + owl::printable(text) + "'";
}

}  // namespace mon
