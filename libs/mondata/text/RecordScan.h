#pragma once
// The part of reading a monitor file that may run on worker threads: a piece
// of the file's text (whole lines) is split into its lines, and each plain
// record among them is read into numbers, without any state of the run.
// Every other line (declarations, comments, blank lines, and records with
// anything the fast readers do not take) is only marked, for the reader to
// handle in file order with its full rules and messages.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "libs/mondata/model/FloatColumn.h"

namespace mon {

struct ScannedLine {
    static constexpr size_t kNotARecord = SIZE_MAX;

    size_t begin = 0;   // in the piece's text
    size_t length = 0;  // without the line end ("\n" or "\r\n")
    int32_t step = 0;
    int32_t loop = 1;
    size_t valueCount = kNotARecord;  // the record's values, "-" read as FLT_MAX

    bool isRecord() const { return valueCount != kNotARecord; }
};

class ScannedPiece {
  public:
    // Reads the lines of text, which holds whole lines, each with its line
    // end; loops says whether records carry a coefficient loop. Keeps its
    // memory from piece to piece.
    void scan(std::string_view text, bool loops);

    std::string_view text() const { return text_; }
    std::string_view lineText(const ScannedLine& line) const {
        return text_.substr(line.begin, line.length);
    }
    const std::vector<ScannedLine>& lines() const { return lines_; }
    // The values of every record, one after the other.
    const FloatColumn& values() const { return values_; }

  private:
    void scanLine(const char* begin, const char* end, bool loops);
    bool scanRecord(const char* p, const char* end, bool loops, ScannedLine& line);
    bool scanValues(const char* p, const char* end, ScannedLine& line);

    std::string_view text_;
    std::vector<ScannedLine> lines_;
    FloatColumn values_;
};

}  // namespace mon
