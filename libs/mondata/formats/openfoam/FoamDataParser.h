#pragma once
// Reads the text of one OpenFOAM function-object data file into a
// FoamTable, in one pass. The file is a header block of '#' lines (a title,
// "key : value" lines, "# Probe i (x y z)" lines and the column line
// "# Time<TAB>col<TAB>..."), then one row per write: the time, then one
// field per column, a number, a vector "(a b c)", a nested vector
// "((a b c) (d e f))" or a text (a solver name, true/false, N/A: no value).
// A new header block may start in the middle of the file; its column line
// replaces the columns from there on. Errors are owl::data::error with the
// message "FILE:LINE: what is wrong".

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "libs/mondata/sources/FoamTable.h"

namespace mon {

// Whether the first bytes of a file are those of a function-object data
// file: '#' lines up to a "# Time" column line (or, for probe files whose
// header is longer than the bytes given, only "# Probe" lines so far).
bool looksLikeFoamData(std::string_view head);

class FoamDataParser {
  public:
    explicit FoamDataParser(std::string fileName) : fileName_(std::move(fileName)) {}

    // Parses the whole text. A last line without a line end is still being
    // written and is ignored.
    FoamTable parse(std::string_view text);

    // Makes room for the values of a file of that many bytes.
    void reserveFor(size_t bytes) { table_.cells.reserve(bytes / 12); }  // 12+ bytes a value
    // Parses the complete lines of the next piece of the file and returns
    // how many bytes they take; the rest, an unfinished line, is to be given
    // again with the piece that follows. finish() returns the table after
    // the last piece.
    size_t parseLines(std::string_view text);
    FoamTable finish() { return std::move(table_); }

    // For a file followed as it grows: the table read so far, and the first
    // of its rows that changed since the last call (added, written again,
    // or given more values), SIZE_MAX when none did.
    const FoamTable& table() const { return table_; }
    size_t takeFirstChangedRow() { return std::exchange(firstChangedRow_, SIZE_MAX); }

  private:
    // The numbers one header column takes in a row.
    struct Slot {
        uint32_t firstColumn = 0;
        uint32_t count = 0;
    };
    using Layout = std::vector<Slot>;

    void parseComment(std::string_view body);
    void parseProbeLine(std::string_view rest);
    void parseColumnLine(std::string_view columns);
    void prepareSolverGroups();
    void parseRow(std::string_view line);
    void parseKeyedRow(std::string_view fields, double time);
    void parseSolverRow(std::string_view fields);
    void parseFields(std::string_view fields, const std::string& key);
    const Layout& layoutFor(const std::string& key, std::string_view fields);
    void addSlot(Layout& layout, const std::string& key, size_t header, std::string_view token);
    void putToken(std::string_view token, const Slot& slot);
    void startRow(double time, bool sameRowAllowed);
    uint32_t columnFor(FoamColumn column);
    static constexpr uint32_t kNoColumn = UINT32_MAX;
    // The value of a numeric field; column (or kNoColumn) names it in errors.
    double number(std::string_view token, uint32_t column) const;
    [[noreturn]] void fail(const std::string& what) const;

    std::string fileName_;
    size_t lineNumber_ = 0;
    FoamTable table_;
    size_t firstChangedRow_ = SIZE_MAX;
    std::unordered_map<std::string, uint32_t> columnByName_;
    // The current header block.
    bool sawColumnLine_ = false;
    bool inRows_ = false;
    std::vector<std::string> probeLocations_;
    std::vector<std::string> probeColumns_;  // "# Probe 0 1 2" before a bare "# Time"
    std::vector<std::string> headerBase_;
    std::vector<std::vector<std::string>> headerParts_;  // "forces(pressure viscous)"
    bool keyed_ = false;                                 // long format: field/patch per row
    std::unordered_map<std::string, Layout> layouts_;
    std::vector<std::string> rowKeys_;  // keys already in the current row
    // solverInfo: the header's field groups and their value columns.
    bool solverInfo_ = false;
    std::vector<int> groupCounts_;
    std::vector<std::vector<uint32_t>> groupColumns_;
    std::vector<int> rowCounts_, placement_;
    std::vector<double> rowValues_;
};

}  // namespace mon
