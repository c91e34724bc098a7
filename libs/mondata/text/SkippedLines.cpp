#include "libs/mondata/text/SkippedLines.h"

#include "libs/exception/MessageText.h"

namespace mon {

void SkippedLines::add(size_t line, const std::string& problem) {
    if (++count_ > kShown) return;
    if (!shown_.empty()) shown_ += "; ";
    shown_ += owl::printable(fileName_) + ":" + std::to_string(line) + ": skipped: " + problem;
}

std::string SkippedLines::warning() const {
    if (count_ == 0) return std::string();
    return shown_ + " (" + std::to_string(count_) + (count_ == 1 ? " line" : " lines") +
           " skipped)";
}

}  // namespace mon
