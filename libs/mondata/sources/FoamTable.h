#pragma once
// The rows of one OpenFOAM function-object data file, keyed by simulation
// time. OpenFOAM writes no step number: a row is known by its time, and
// several rows with the same time (a function object that writes once per
// outer corrector pass) are the coefficient loops of that time, numbered
// from 1. Values are stored sparsely, one cell per value written, so rows
// that leave a column out (N/A, a field not solved, a column added by a new
// header block) cost nothing.

#include <cstdint>
#include <string>
#include <vector>

namespace mon {

// One number a row may carry, named after the file's own column.
struct FoamColumn {
    std::string key;        // row key of a long-format file (the field or patch), else empty
    std::string header;     // the column line's name ("Cd", "Ux_initial", "forces pressure")
    std::string component;  // "_x", "_y", ... for a vector's components, else empty
    std::string location;   // a probe's position "(x y z)" when the header gives one

    std::string name() const { return (key.empty() ? "" : key + " ") + header + component; }
};

struct FoamRow {
    double time;
    int loop;            // 1 for the first row of a time, 2 for the second, ...
    uint32_t firstCell;  // this row's cells run to the next row's firstCell
};

// Packed: 12 bytes a value instead of 16, for files of millions of values.
struct __attribute__((packed)) FoamCell {
    uint32_t column;
    double value;  // as the file wrote it
};

struct FoamTable {
    std::vector<FoamColumn> columns;
    std::vector<FoamRow> rows;  // ascending (time, loop)
    std::vector<FoamCell> cells;

    size_t cellEnd(size_t row) const {
        return row + 1 < rows.size() ? rows[row + 1].firstCell : cells.size();
    }
};

}  // namespace mon
