#include "libs/mondata/text/TextScanner.h"

namespace mon {

bool TextScanner::text(std::string& out, std::string& error) {
    skipBlanks();
    if (atEnd()) {
        error = "missing text";
        return false;
    }
    if (peek() == '"') return quoted(out, error);
    out = std::string(word());
    return true;
}

bool TextScanner::quoted(std::string& out, std::string& error) {
    size_t start = pos_++;
    out.clear();
    while (pos_ < line_.size()) {
        char c = line_[pos_++];
        if (c == '"') {
            if (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') {
                error = "a blank must follow the closing quote at column " + std::to_string(pos_);
                return false;
            }
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos_ >= line_.size()) break;
        char escaped = line_[pos_++];
        switch (escaped) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            default:  // not an escape: the backslash and the byte stand for themselves
                out += '\\';
                out += escaped;
        }
    }
    error = "quoted text starting at column " + std::to_string(start + 1) + " is not closed";
    return false;
}

bool TextScanner::attribute(std::string& key, std::string& value, std::string& error) {
    skipBlanks();
    size_t start = pos_;
    while (pos_ < line_.size()) {
        char c = line_[pos_];
        bool keyChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '_' || c == '-';
        if (!keyChar) break;
        ++pos_;
    }
    key = std::string(line_.substr(start, pos_ - start));
    if (key.empty() || atEnd() || peek() != '=') {
        error = "expected an attribute key=value at column " + std::to_string(start + 1);
        return false;
    }
    ++pos_;
    if (atEnd() || peek() == ' ' || peek() == '\t') {
        value.clear();  // key= with nothing after it is an empty value
        return true;
    }
    return text(value, error);
}

}  // namespace mon
