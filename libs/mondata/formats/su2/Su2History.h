#pragma once
// SU2 history files (docs/formats/su2.md): the CSV flavour (a header of quoted,
// blank-padded names, then comma-separated rows), the Tecplot flavour (the
// same after a line "VARIABLES = \") and the legacy Tecplot flavour ("TITLE =",
// "VARIABLES = "name",...", "ZONE ..." lines, then comma-separated rows).
//
// A history is read in two steps: each file into an Su2Table, then the tables
// of one history (a run and its restarts) into the run builder, because
// whether the run is steady or unsteady (and so what its record keys are)
// depends on every row of every file.
//
// Rows are solver text, read leniently: a row with the wrong number of
// fields or a field that is not a number is skipped, and one warning names
// the first rows skipped. Values are held in double precision.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "libs/mondata/model/RunDataBuilder.h"

namespace mon {

// Whether the first bytes of a file are those of an SU2 history.
bool isSu2History(std::string_view head);

// One SU2 history file: its iteration columns and its value columns.
struct Su2Table {
    enum Iteration { kTime, kOuter, kInner, kIterations };

    std::string fileName;
    // Names of the value columns, without quotes and padding, in file order.
    std::vector<std::string> names;
    // Which iteration columns the file has.
    bool hasIteration[kIterations] = {false, false, false};
    size_t rowCount = 0;
    // Per row: the line it was read from, and its iteration numbers
    // (kIterations per row; 0 for a column the file lacks).
    std::vector<size_t> lines;
    std::vector<int> iterations;
    // Per row: one value per value column.
    std::vector<double> values;
    // The warning naming the rows skipped; empty when none was.
    std::string skipped;

    int iteration(size_t row, Iteration which) const {
        return iterations[row * kIterations + which];
    }
    // Whether the column has more than one value among the rows.
    bool varies(Iteration which) const;
};

// Parses the whole text of a history file. A last line without a line end is
// still being written and is ignored. Throws owl::data::error
// "FILE:LINE: what is wrong" for a header that does not read.
Su2Table parseSu2History(const std::string& fileName, std::string_view text);

// The same for the history file at path, read block by block: memory holds
// the table and a block, not the whole text as well.
Su2Table readSu2HistoryFile(const std::string& path, size_t blockBytes = 4 << 20);

// How the tables of one history become variables and records.
struct Su2Layout {
    bool unsteady = false;  // keys Time_Iter and Inner_Iter + 1, else one record per iteration
    std::string zone;       // a multizone run's zone number, empty otherwise
};

// Whether the tables hold an unsteady run: one with rows at more than one
// time iteration.
bool isUnsteadySu2Run(const std::vector<Su2Table>& tables);

// Feeds the tables, in run order, into the builder; its coefficient-loop
// setting must already be layout.unsteady. Adds the tables' warnings, and
// one for a table whose later rows replace earlier ones (an iteration
// counter that repeats).
void addSu2History(const std::vector<Su2Table>& tables, const Su2Layout& layout,
                   RunDataBuilder& builder);

// Reads one history file given with -mon.
void readSu2History(const std::string& path, RunDataBuilder& builder);

// For a history followed as it grows: the file read a piece at a time, its
// rows taken as they come (the reader keeps only the header) ...
class Su2Parser;
class Su2HistoryReader {
  public:
    explicit Su2HistoryReader(const std::string& fileName);
    ~Su2HistoryReader();
    // As BlockReader::feed wants it.
    size_t parseLines(std::string_view text);
    // The rows read since the last call, with the header's columns and the
    // warning for the rows skipped.
    Su2Table takeRows();

  private:
    std::unique_ptr<Su2Parser> parser_;
};

// ... the iteration column that numbers the records of the tables of a
// history (kIterations: none, rows are numbered from 1), which, like
// isUnsteadySu2Run, only the first row of each table and the first row
// that differs from it in each iteration column decide ...
Su2Table::Iteration su2StepColumn(const std::vector<Su2Table>& tables, bool unsteady);
// ... and the rows of one table as records, as addSu2History gives them:
// firstRow is the number of rows of the table given before.
void addSu2Rows(const Su2Table& rows, const Su2Layout& layout, Su2Table::Iteration step,
                size_t firstRow, RunDataBuilder& builder);

}  // namespace mon
