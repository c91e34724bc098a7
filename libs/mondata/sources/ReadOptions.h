#pragma once
// What the user asks of the reading of a source beyond its path.

#include <string>
#include <vector>

namespace mon {

struct ReadOptions {
    // Patterns of solver-log lines whose named numbers become variables
    // ("Phase-1 volume fraction = {alpha}"), as the user wrote them.
    std::vector<std::string> logPatterns;
};

}  // namespace mon
