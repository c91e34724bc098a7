#include "libs/rcl/RCLPath.h"

namespace owl {

namespace {
std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

RCLPath::Step stepOf(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return {std::string(), trimmed(text)};
    return {trimmed(text.substr(0, colon)), trimmed(text.substr(colon + 1))};
}
}  // namespace

RCLPath::RCLPath(const std::string& path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        const std::string step = trimmed(path.substr(start, slash - start));
        if (!step.empty()) steps_.push_back(stepOf(step));
        start = slash + 1;
    }
}

RCLPath::~RCLPath() = default;

const std::string RCLPath::getLastName() const {
    return steps_.empty() ? std::string() : steps_.back().name;
}

}  // namespace owl
