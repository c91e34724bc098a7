#include "monplot/serve/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace serve {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == '<' || c == '>' || c == '&') {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

void JsonWriter::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) out_ += ',';
        empty_.back() = false;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    out_ += '{';
    empty_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out_ += '}';
    empty_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    out_ += '[';
    empty_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out_ += ']';
    empty_.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(const std::string& name) {
    separate();
    out_ += quoted(name) + ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::string(const std::string& text) {
    separate();
    out_ += quoted(text);
    return *this;
}

// std::to_chars: printf's digits without its cost, which was half the time
// of a page's values.
JsonWriter& JsonWriter::number(double value) {
    if (!std::isfinite(value)) return null();
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);  // shortest exact
    separate();
    out_.append(text, end.ptr);
    return *this;
}

JsonWriter& JsonWriter::number(double value, int digits) {
    if (!std::isfinite(value)) return null();
    char text[48];
    const std::to_chars_result end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits);
    separate();
    out_.append(text, end.ptr);
    return *this;
}

JsonWriter& JsonWriter::integer(int64_t value) {
    separate();
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value) {
    separate();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    out_ += "null";
    return *this;
}

JsonWriter& JsonWriter::value(const std::string& json) {
    separate();
    out_ += json;
    return *this;
}

}  // namespace serve
