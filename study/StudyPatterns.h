#pragma once
// The runs of a study: every path a -study pattern matches. A pattern is a
// shell-style glob (*, ?, [...] within one path component; a component "**"
// for any number of folders, none included) or "@FILE", a file naming one
// path per line (blank lines and lines starting with '#' skipped). Paths come back as matched,
// sorted, each once.

#include <string>
#include <vector>

namespace study {

struct Expansion {
    std::vector<std::string> runs;
    std::vector<std::string> unmatched;  // globs that matched nothing
};

// Throws owl::Error when an @FILE cannot be read.
Expansion expandPatterns(const std::vector<std::string>& patterns);

// The names between the slashes of a path, empty ones left out.
std::vector<std::string> pathComponents(const std::string& path);

}  // namespace study
