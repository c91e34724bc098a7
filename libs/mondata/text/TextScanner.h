#pragma once
// Splits one line of a monitor file into its pieces: blank-separated words,
// quoted texts with backslash escapes, and key=value attributes.

#include <charconv>
#include <string>
#include <string_view>

namespace mon {

class TextScanner {
  public:
    explicit TextScanner(std::string_view line) : line_(line) {}

    bool atEnd() const { return pos_ >= line_.size(); }
    char peek() const { return line_[pos_]; }
    void skipBlanks() {
        while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
    }
    // The next blank-separated word; empty at the end of the line.
    std::string_view word() {
        skipBlanks();
        size_t start = pos_;
        while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t') ++pos_;
        return line_.substr(start, pos_ - start);
    }
    // What is left of the line from the current position.
    std::string_view rest() const { return line_.substr(pos_); }

    // A quoted text ("...", with the escapes \" \\ \n \t; a backslash before
    // any other byte is kept with it) or a bare word. On failure, says why in
    // error.
    bool text(std::string& out, std::string& error);
    // key=value, where value is a text as above.
    bool attribute(std::string& key, std::string& value, std::string& error);

  private:
    bool quoted(std::string& out, std::string& error);

    std::string_view line_;
    size_t pos_ = 0;
};

// A whole decimal number that fills the token and fits an int.
inline bool parseWhole(std::string_view token, int& value) {
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return ec == std::errc() && end == token.data() + token.size() && !token.empty();
}

}  // namespace mon
