#pragma once
// The lines of a solver's text that a reader skipped (solver text is read
// leniently), for the one warning the reader gives: the first three as
// "FILE:LINE: skipped: what is wrong", then how many lines were skipped.

#include <cstddef>
#include <string>
#include <utility>

namespace mon {

class SkippedLines {
  public:
    explicit SkippedLines(std::string fileName) : fileName_(std::move(fileName)) {}

    void add(size_t line, const std::string& problem);
    size_t count() const { return count_; }
    // "F:3: skipped: ...; F:9: skipped: ... (5 lines skipped)", or nothing
    // when no line was skipped.
    std::string warning() const;

  private:
    static constexpr size_t kShown = 3;
    std::string fileName_;
    size_t count_ = 0;
    std::string shown_;
};

}  // namespace mon
