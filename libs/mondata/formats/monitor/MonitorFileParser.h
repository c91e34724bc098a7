#pragma once
// Reads the text of a monitor file (format described in docs/formats.md) into
// a RunDataBuilder, in one pass over the bytes. Errors are owl::data::error
// whose message reads "FILE:LINE: what is wrong".

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/text/RecordScan.h"

namespace mon {

// The declaration lines the earlier segments of a run made, by their exact
// text, and the column each declared: the segments of a run directory
// repeat their declarations, and an identical line needs no parsing; a
// segment that starts with the very lines the last one started with takes
// them at once.
struct KnownDeclarations {
    std::unordered_map<std::string, int> byText;
    std::string leadingLines;         // after the first line, up to the first other line
    std::vector<int> leadingColumns;  // the columns they declare, in order
};

class MonitorFileParser {
  public:
    // A file that is not the first segment of its run must agree with the
    // earlier ones on whether records carry coefficient loops.
    MonitorFileParser(RunDataBuilder& builder, std::string fileName, bool firstSegment);

    // Records are read on this many threads (the calling one included), a
    // piece of about pieceBytes each; 0 workers means defaultWorkers(). The
    // run and its errors are the same whatever the numbers.
    void setWorkers(unsigned workers, size_t pieceBytes = kPieceBytes);
    static constexpr size_t kPieceBytes = 512 << 10;
    // The bytes of text the whole run is expected to take, in that many
    // files, from which the first record estimates how many records to make
    // room for: every file is taken to repeat this one's lines before it.
    void expectRunBytes(uint64_t bytes, uint64_t files = 1) {
        expectedRunBytes_ = bytes;
        expectedRunFiles_ = files;
    }
    // Shares the declarations of the run's earlier segments, and adds this
    // file's.
    void shareDeclarations(KnownDeclarations& known) { knownDeclarations_ = &known; }
    // Scans into the memory of pieces that outlive this parser (a run's
    // segments are parsed in turn), not into its own.
    void sharePieces(std::vector<ScannedPiece>& pieces) { pieces_ = &pieces; }
    // What a file without a valid first line is said not to be: "monitor
    // file", or every kind of file it may have been meant as.
    void setMeantAs(std::string kinds) { meantAs_ = std::move(kinds); }

    // Parses the whole text. A last line without a line end is still being
    // written by the solver and is ignored.
    void parse(std::string_view text);

    // Parses the complete lines of the next piece of the file and returns
    // how many bytes they take; the rest, an unfinished line, is to be given
    // again with the piece that follows it.
    size_t parseLines(std::string_view text);
    // Whether the first line was complete, and the error if not.
    bool hasFirstLine() const { return lineNumber_ > 0; }
    void requireFirstLine() const;

  private:
    size_t parseFirstLine(std::string_view text);
    size_t takeLeadingDeclarations(std::string_view text);
    void keepLeadingDeclarations(std::string_view body);
    void parseBody(std::string_view text);
    void applyPiece(const ScannedPiece& piece);
    void appendRecord(const ScannedLine& line, const float* values);
    void setPendingValues();
    void reserveRecords(uint64_t recordBytes);
    void parseHeader(std::string_view line);
    void parseLine(std::string_view line);
    void parseRecord(std::string_view line);
    void parseValues(std::string_view values);
    void parseDeclaration(std::string_view line);
    int knownColumn(std::string_view line);
    bool declaredInFile(int column) const;
    void addField(int column);
    float parseValue(std::string_view token, size_t field) const;
    void checkMemory() const;
    [[noreturn]] void fail(const std::string& what) const;

    RunDataBuilder& builder_;
    std::string fileName_;
    bool firstSegment_;
    std::string meantAs_ = "monitor file";
    size_t lineNumber_ = 0;
    std::vector<int> columnOfField_;    // this file's fields, in declaration order
    std::vector<size_t> lineOfColumn_;  // where this file declared a column, or 0
    unsigned workers_ = 0;
    size_t pieceBytes_ = kPieceBytes;
    std::vector<ScannedPiece> ownPieces_;
    std::vector<ScannedPiece>* pieces_ = &ownPieces_;
    std::vector<std::string_view> pieceTexts_;
    std::vector<RunDataBuilder::RecordValues> pending_;  // records begun, values not yet set
    uint64_t expectedRunBytes_ = 0;
    uint64_t expectedRunFiles_ = 1;
    uint64_t headerBytes_ = 0;  // of the lines before room is made for records
    KnownDeclarations* knownDeclarations_ = nullptr;
    std::string lookupKey_;
};

// Threads for reading records: the cores the process may use (at most 8),
// unless forceLoadWorkers() set a number.
unsigned defaultWorkers();
// Sets the number for every later load (benchmarks compare one core with
// several); 0 goes back to the cores.
void forceLoadWorkers(unsigned workers);

}  // namespace mon
