#include "libs/utilities/XMLText.h"

namespace owl {
namespace xmltext {
namespace {

const long kIllFormed = -1;
const char* const kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// What a UTF-8 lead byte announces: the sequence length, the bits it carries
// and the range its first continuation byte must lie in (which excludes
// overlong forms, surrogates and code points above U+10FFFF).
struct Lead {
    int length = 0;
    long bits = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
};

Lead leadOf(unsigned char byte) {
    Lead lead;
    if (byte >= 0xC2 && byte <= 0xDF) lead = {2, byte & 0x1F, 0x80, 0xBF};
    if (byte >= 0xE0 && byte <= 0xEF) lead = {3, byte & 0x0F, 0x80, 0xBF};
    if (byte >= 0xF0 && byte <= 0xF4) lead = {4, byte & 0x07, 0x80, 0xBF};
    if (byte == 0xE0) lead.low = 0xA0;
    if (byte == 0xED) lead.high = 0x9F;
    if (byte == 0xF0) lead.low = 0x90;
    if (byte == 0xF4) lead.high = 0x8F;
    return lead;
}

// Decodes the character at pos and moves pos past it. An ill-formed sequence
// gives kIllFormed, and pos moves past its maximal well-formed prefix.
long decode(const std::string& text, size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos++]);
    if (byte < 0x80) return byte;
    Lead lead = leadOf(byte);
    if (lead.length == 0) return kIllFormed;
    long code = lead.bits;
    for (int i = 1; i < lead.length; ++i, ++pos) {
        if (pos >= text.size()) return kIllFormed;
        const auto next = static_cast<unsigned char>(text[pos]);
        if (next < lead.low || next > lead.high) return kIllFormed;
        code = (code << 6) | (next & 0x3F);
        lead.low = 0x80;
        lead.high = 0xBF;
    }
    return code;
}

// The Char production of XML 1.0.
bool isXmlChar(long code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

bool inAny(long code, std::initializer_list<std::pair<long, long>> ranges) {
    for (const auto& range : ranges)
        if (code >= range.first && code <= range.second) return true;
    return false;
}

bool isNameStartChar(long code) {
    return inAny(code, {{':', ':'},
                        {'A', 'Z'},
                        {'_', '_'},
                        {'a', 'z'},
                        {0xC0, 0xD6},
                        {0xD8, 0xF6},
                        {0xF8, 0x2FF},
                        {0x370, 0x37D},
                        {0x37F, 0x1FFF},
                        {0x200C, 0x200D},
                        {0x2070, 0x218F},
                        {0x2C00, 0x2FEF},
                        {0x3001, 0xD7FF},
                        {0xF900, 0xFDCF},
                        {0xFDF0, 0xFFFD},
                        {0x10000, 0xEFFFF}});
}

bool isNameChar(long code) {
    return isNameStartChar(code) || inAny(code, {{'-', '-'},
                                                 {'.', '.'},
                                                 {'0', '9'},
                                                 {0xB7, 0xB7},
                                                 {0x300, 0x36F},
                                                 {0x203F, 0x2040}});
}

// The reference that stands for code, or null where the character is written
// as it is. attribute selects the rules of attribute values.
const char* referenceFor(long code, bool attribute) {
    switch (code) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '\r':
            return "&#13;";
        case '"':
            return attribute ? "&quot;" : nullptr;
        case '\t':
            return attribute ? "&#9;" : nullptr;
        case '\n':
            return attribute ? "&#10;" : nullptr;
        default:
            return nullptr;
    }
}

std::string escape(const std::string& text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        const long code = decode(text, pos);
        if (!isXmlChar(code)) {
            out += kReplacement;
        } else if (const char* reference = referenceFor(code, attribute)) {
            out += reference;
        } else {
            out.append(text, start, pos - start);
        }
    }
    return out;
}

}  // namespace

bool isName(const std::string& name) {
    for (size_t pos = 0; pos < name.size();) {
        const bool first = pos == 0;
        const long code = decode(name, pos);
        if (first ? !isNameStartChar(code) : !isNameChar(code)) return false;
    }
    return !name.empty();
}

std::string escapeAttribute(const std::string& value) {
    return escape(value, true);
}

std::string escapeText(const std::string& text) {
    return escape(text, false);
}

}  // namespace xmltext
}  // namespace owl
