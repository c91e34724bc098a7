#include "libs/mondata/formats/openfoam/FoamLogPattern.h"

#include <algorithm>
#include <fstream>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/openfoam/FoamLogLines.h"

namespace mon {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

[[noreturn]] void refuse(std::string_view pattern, const std::string& what) {
    throw owl::data::error("MonDatabase", "updateFrom",
                           "Pattern '" + std::string(pattern) + "': " + what, owl::errorFatal);
}

// Runs of blanks become one blank, which then matches any run of blanks.
std::string normalBlanks(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (!isBlank(c))
            out += c;
        else if (out.empty() || out.back() != ' ')
            out += ' ';
    }
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// "NAME", "NAME|CATEGORY" or "NAME|CATEGORY|GROUP".
FoamPatternValue valueOf(std::string_view pattern, std::string_view inside) {
    std::vector<std::string> parts;
    for (size_t bar; (bar = inside.find('|')) != std::string_view::npos;
         inside.remove_prefix(bar + 1))
        parts.emplace_back(trimmed(inside.substr(0, bar)));
    parts.emplace_back(trimmed(inside));
    if (parts.size() > 3) refuse(pattern, "{NAME|CATEGORY|GROUP} has more than three parts");
    if (parts[0].empty()) refuse(pattern, "a {...} without a name");
    parts.resize(3);
    return {parts[0], parts[1].empty() ? "MONITOR" : parts[1],
            parts[2].empty() ? "Log Patterns" : parts[2]};
}

}  // namespace

FoamLogPattern::FoamLogPattern(std::string_view pattern) {
    std::string_view rest = trimmed(pattern);
    while (!rest.empty()) {
        const size_t open = rest.find('{');
        const std::string_view text = rest.substr(0, open);
        if (text.find('}') != std::string_view::npos) refuse(pattern, "'}' without '{'");
        if (open == std::string_view::npos) {
            pieces_.push_back({normalBlanks(text), false});
            break;
        }
        if (text.empty())
            refuse(pattern, pieces_.empty() ? "it must start with text, not with a {NAME}"
                                            : "two {NAME}s need text between them");
        const size_t close = rest.find('}', open);
        if (close == std::string_view::npos) refuse(pattern, "'{' without '}'");
        const std::string_view inside = rest.substr(open + 1, close - open - 1);
        if (inside.find('{') != std::string_view::npos) refuse(pattern, "'{' inside a {NAME}");
        values_.push_back(valueOf(pattern, inside));
        for (size_t i = 0; i + 1 < values_.size(); ++i)
            if (values_[i].name == values_.back().name)
                refuse(pattern, "{" + values_.back().name + "} is named twice");
        pieces_.push_back({normalBlanks(text), true});
        rest.remove_prefix(close + 1);
    }
    if (values_.empty()) refuse(pattern, "it names no value: write {NAME} where a number stands");
    const std::string& first = pieces_.front().text;
    firstWord_ = first.substr(0, std::max<size_t>(1, first.find(' ')));
}

bool FoamLogPattern::matchAt(std::string_view line, size_t at, double* values) const {
    size_t value = 0;
    for (const Piece& piece : pieces_) {
        for (char c : piece.text) {
            if (c == ' ') {
                if (at >= line.size() || !isBlank(line[at])) return false;
                while (at < line.size() && isBlank(line[at])) ++at;
            } else if (at >= line.size() || line[at++] != c) {
                return false;
            }
        }
        if (!piece.valueAfter) break;
        const size_t length = readFoamNumber(line.substr(at), values[value++]);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

bool FoamLogPattern::match(std::string_view line, double* values) const {
    for (size_t at = line.find(firstWord_); at != std::string_view::npos;
         at = line.find(firstWord_, at + 1))
        if (matchAt(line, at, values)) return true;
    return false;
}

std::vector<std::string> readFoamLogPatternFile(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        throw owl::data::error("MonDatabase", "updateFrom",
                               "Cannot read the patterns file '" + path + "'.", owl::errorFatal);
    std::vector<std::string> patterns;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string_view text = trimmed(line);
        if (!text.empty() && text.front() != '#') patterns.emplace_back(text);
    }
    return patterns;
}

std::vector<FoamLogPattern> compileFoamLogPatterns(const std::vector<std::string>& patterns) {
    std::vector<FoamLogPattern> compiled;
    compiled.reserve(patterns.size());
    for (const std::string& pattern : patterns) compiled.emplace_back(pattern);
    return compiled;
}

}  // namespace mon
