#pragma once
// Patterns of solver-log lines that the user names values in, e.g.
//   Phase-1 volume fraction = {alpha_volume}  Min(alpha.water) = {alpha_min}
// Text stands for itself (a run of blanks for any run of blanks); each
// {NAME} stands for a number and names the variable it gives;
// {NAME|CATEGORY|GROUP} also sets the variable's category and group. A line
// matches when it holds the pattern's text with a number at every {...}.
// Documented in docs/formats/openfoam-log.md.

#include <string>
#include <string_view>
#include <vector>

namespace mon {

struct FoamPatternValue {
    std::string name;
    std::string category;  // MONITOR unless given
    std::string group;     // "Log Patterns" unless given
};

class FoamLogPattern {
  public:
    // Throws owl::data::error saying what is wrong with the pattern.
    explicit FoamLogPattern(std::string_view pattern);

    const std::vector<FoamPatternValue>& values() const { return values_; }
    // Reads the values of a line that matches into values[0..values().size()).
    bool match(std::string_view line, double* values) const;

  private:
    // Text, then the value that follows it (none after the last text).
    struct Piece {
        std::string text;  // blanks stand for any run of blanks
        bool valueAfter;
    };
    bool matchAt(std::string_view line, size_t at, double* values) const;

    std::vector<Piece> pieces_;
    std::vector<FoamPatternValue> values_;
    std::string firstWord_;  // searched for first: the text up to its first blank
};

// The patterns of a file, one a line; blank lines and lines starting with
// '#' are left out. Throws owl::data::error when it cannot be read.
std::vector<std::string> readFoamLogPatternFile(const std::string& path);

// The patterns of the strings, checked before any file is read.
std::vector<FoamLogPattern> compileFoamLogPatterns(const std::vector<std::string>& patterns);

}  // namespace mon
