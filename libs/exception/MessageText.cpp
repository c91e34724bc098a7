#include "libs/exception/MessageText.h"

namespace owl {

namespace {
void appendEscape(unsigned char byte, std::string& out) {
    static const char hex[] = "0123456789abcdef";
    switch (byte) {
        case '\n':
            out += "\\n";
            return;
        case '\t':
            out += "\\t";
            return;
        case '\r':
            out += "\\r";
            return;
        default:
            out += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
    }
}
}  // namespace

std::string printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f)
            appendEscape(byte, out);
        else
            out += c;
    }
    return out;
}

}  // namespace owl
