#include "monplot/serve/RequestTarget.h"

#include <sstream>

namespace serve {

namespace {
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decodes %XX escapes (and '+' in queries); false for a broken escape or a
// decoded NUL.
bool percentDecode(const std::string& text, bool plusIsSpace, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+' && plusIsSpace) {
            out += ' ';
        } else if (text[i] == '%') {
            if (i + 2 >= text.size()) return false;
            const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
            if (high < 0 || low < 0 || (high == 0 && low == 0)) return false;
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return true;
}

std::string nameOf(const std::string& pair) {
    return pair.substr(0, pair.find('='));
}
}  // namespace

std::string RequestTarget::value(const std::string& name, const std::string& fallback) const {
    const auto found = query.find(name);
    return found == query.end() ? fallback : found->second;
}

RequestTarget parseTarget(const std::string& target) {
    RequestTarget parsed;
    const size_t mark = target.find('?');
    const std::string path = target.substr(0, mark);
    if (path.empty() || path[0] != '/' || !percentDecode(path, false, parsed.path)) return parsed;
    if (mark != std::string::npos) {
        std::istringstream pairs(target.substr(mark + 1));
        for (std::string pair; std::getline(pairs, pair, '&');) {
            if (pair.empty()) continue;
            const size_t equals = pair.find('=');
            std::string name, value;
            if (!percentDecode(pair.substr(0, equals), true, name) ||
                !percentDecode(equals == std::string::npos ? "" : pair.substr(equals + 1), true,
                               value))
                return parsed;
            parsed.query[name] = value;
        }
    }
    parsed.valid = true;
    return parsed;
}

std::string targetWithout(const std::string& target, const std::string& name) {
    const size_t mark = target.find('?');
    if (mark == std::string::npos) return target;
    std::string kept;
    std::istringstream pairs(target.substr(mark + 1));
    for (std::string pair; std::getline(pairs, pair, '&');)
        if (!pair.empty() && nameOf(pair) != name) kept += (kept.empty() ? "?" : "&") + pair;
    return target.substr(0, mark) + kept;
}

}  // namespace serve
