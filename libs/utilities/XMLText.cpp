#include "libs/utilities/XMLText.h"

#include "libs/utilities/Utf8.h"

namespace owl {
namespace xmltext {
namespace {

const char* const kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

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

// Printable ASCII that is written as it is, in text and in attribute values
// alike: most texts hold nothing else.
bool isPlainAscii(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F && byte != '&' && byte != '<' && byte != '>' && byte != '"';
}

void appendEscaped(std::string& out, std::string_view text, bool attribute) {
    for (size_t pos = 0; pos < text.size();) {
        const size_t start = pos;
        while (pos < text.size() && isPlainAscii(static_cast<unsigned char>(text[pos]))) ++pos;
        out.append(text.data() + start, pos - start);
        if (pos == text.size()) return;
        const size_t characterStart = pos;
        const long code = utf8::decodeAt(text, pos);
        if (!isXmlChar(code)) {
            out += kReplacement;
        } else if (const char* reference = referenceFor(code, attribute)) {
            out += reference;
        } else {
            out.append(text.data() + characterStart, pos - characterStart);
        }
    }
}

std::string escape(const std::string& text, bool attribute) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, attribute);
    return out;
}

// [A-Za-z_:] starts an ASCII name, [-.0-9] may follow too.
bool isAsciiNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool isAsciiName(const std::string& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (!isAsciiNameStart(c) && (i == 0 || !((c >= '0' && c <= '9') || c == '-' || c == '.')))
            return false;
    }
    return !name.empty();
}

}  // namespace

bool isName(const std::string& name) {
    if (isAsciiName(name)) return true;
    for (size_t pos = 0; pos < name.size();) {
        const bool first = pos == 0;
        const long code = utf8::decodeAt(name, pos);
        if (first ? !isNameStartChar(code) : !isNameChar(code)) return false;
    }
    return !name.empty();
}

std::string escapeAttribute(const std::string& value) {
    return escape(value, true);
}

void appendEscapedAttribute(std::string& out, std::string_view value) {
    appendEscaped(out, value, true);
}

std::string escapeText(const std::string& text) {
    return escape(text, false);
}

}  // namespace xmltext
}  // namespace owl
