#pragma once
// The data-line format both tables share: fields separated by ",", an empty
// field where the value is FLT_MAX (no value), key columns as whole numbers,
// other columns in scientific notation, "\n" at the end of each line.

#include <cstddef>
#include <string>
#include <vector>

class TimestepData;

namespace owl {

class TableFormat {
  public:
    // precision: digits after the point of the scientific fields.
    explicit TableFormat(int precision) : precision_(precision) {}

    // Room enough for one line of that many columns, line end included.
    size_t maxLineBytes(size_t columns) const;

    // Writes one field (nothing for FLT_MAX) and returns its end.
    char* field(float value, bool integer, char* out) const;

    // Appends one whole line of values, with its line end, to text.
    void appendLine(const std::vector<float>& values, const std::vector<bool>& integer,
                    std::string& text) const;

  private:
    int precision_;
};

}  // namespace owl
