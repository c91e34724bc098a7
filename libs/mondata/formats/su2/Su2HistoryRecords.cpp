// The record keys and variables of SU2 history tables (see Su2History.h).

#include <cfloat>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/su2/Su2History.h"
#include "libs/mondata/formats/su2/Su2Variables.h"

namespace mon {

namespace {
using Iteration = Su2Table::Iteration;

[[noreturn]] void fail(const Su2Table& table, size_t row, const std::string& what) {
    throw owl::data::error(
        "MonDatabase", "updateFrom",
        owl::printable(table.fileName) + ":" + std::to_string(table.lines[row]) + ": " + what,
        owl::errorFatal);
}

// A steady run has one record per iteration: the inner one, or the outer one
// when it counts (a multizone run's outer loop).
Iteration steadyStep(const std::vector<Su2Table>& tables) {
    for (const Su2Table& table : tables)
        if (table.hasIteration[Su2Table::kOuter] && table.varies(Su2Table::kOuter))
            return Su2Table::kOuter;
    for (Iteration which : {Su2Table::kInner, Su2Table::kOuter})
        for (const Su2Table& table : tables)
            if (table.hasIteration[which]) return which;
    return Su2Table::kIterations;  // none: rows are numbered from 1
}

// The loop of an unsteady record: the inner iteration (or outer) plus one.
int unsteadyLoop(const Su2Table& table, size_t row) {
    for (Iteration which : {Su2Table::kInner, Su2Table::kOuter}) {
        if (!table.hasIteration[which]) continue;
        const int iteration = table.iteration(row, which);
        if (iteration >= RunDataBuilder::kMaxLoop)
            fail(table, row,
                 "iteration " + std::to_string(iteration) + " is beyond the " +
                     std::to_string(RunDataBuilder::kMaxLoop) +
                     " coefficient loops that a time step can hold");
        return iteration + 1;
    }
    return 1;
}

// SU2 writes a zero residual as -32 (the log10 of its floor, 1e-32) or, where
// it applies none, -inf: no residual was computed, so there is no value.
bool isZeroResidual(double log10Value) {
    return log10Value == -32.0 || log10Value == -HUGE_VAL;
}

int recordStep(const Su2Table& table, size_t row, Iteration which, size_t firstRow) {
    if (which < Su2Table::kIterations && table.hasIteration[which])
        return table.iteration(row, which);
    return static_cast<int>(firstRow + row) + 1;
}

// How many rows no later row of the table replaces: a row is kept when every
// later row's key comes after its own (the builder's restart rule).
size_t keptRows(const std::vector<std::pair<int, int>>& keys) {
    size_t kept = 0;
    std::pair<int, int> earliestLater{INT_MAX, INT_MAX};
    for (size_t row = keys.size(); row-- > 0;) {
        if (!(keys[row] < earliestLater)) continue;
        ++kept;
        earliestLater = keys[row];
    }
    return kept;
}

// A counter that repeats (the coupling passes of an FSI run, runs appended
// to one file) keeps the last row of each iteration: the user hears of it.
void warnOfReplacedRows(const Su2Table& table, const std::vector<std::pair<int, int>>& keys,
                        RunDataBuilder& builder) {
    const size_t kept = keptRows(keys);
    if (kept == keys.size()) return;
    builder.addWarning(owl::printable(table.fileName) + ": kept " + std::to_string(kept) + " of " +
                       std::to_string(keys.size()) +
                       " rows: later rows with the same iteration replace earlier ones");
}

}  // namespace

void addSu2Rows(const Su2Table& table, const Su2Layout& layout, Iteration step, size_t firstRow,
                RunDataBuilder& builder) {
    std::vector<int> columns;
    std::vector<bool> residual;
    for (const std::string& name : table.names) {
        columns.push_back(builder.declare(su2Variable(name, layout.zone)));
        residual.push_back(isSu2Residual(name));
    }
    if (!table.skipped.empty()) builder.addWarning(table.skipped);
    const double* values = table.values.data();
    std::vector<std::pair<int, int>> keys;
    keys.reserve(table.rowCount);
    for (size_t row = 0; row < table.rowCount; ++row) {
        keys.emplace_back(recordStep(table, row, step, firstRow),
                          layout.unsteady ? unsteadyLoop(table, row) : 1);
        builder.beginRecord(keys.back().first, keys.back().second);
        for (size_t i = 0; i < columns.size(); ++i, ++values)
            builder.setDoubleValue(columns[i],
                                   residual[i] && isZeroResidual(*values) ? FLT_MAX : *values);
    }
    warnOfReplacedRows(table, keys, builder);
}

bool isUnsteadySu2Run(const std::vector<Su2Table>& tables) {
    const Su2Table* first = nullptr;
    for (const Su2Table& table : tables) {
        if (!table.hasIteration[Su2Table::kTime] || table.rowCount == 0) continue;
        if (table.varies(Su2Table::kTime)) return true;
        if (!first) first = &table;
        if (first->iteration(0, Su2Table::kTime) != table.iteration(0, Su2Table::kTime))
            return true;
    }
    return false;
}

Iteration su2StepColumn(const std::vector<Su2Table>& tables, bool unsteady) {
    return unsteady ? Su2Table::kTime : steadyStep(tables);
}

void addSu2History(const std::vector<Su2Table>& tables, const Su2Layout& layout,
                   RunDataBuilder& builder) {
    const Iteration step = su2StepColumn(tables, layout.unsteady);
    int64_t rows = builder.recordCount();
    for (const Su2Table& table : tables) rows += static_cast<int64_t>(table.rowCount);
    builder.reserveRecords(rows);  // at most one record a row: columns never move
    for (const Su2Table& table : tables) addSu2Rows(table, layout, step, 0, builder);
}

void readSu2History(const std::string& path, RunDataBuilder& builder) {
    std::vector<Su2Table> tables;
    tables.push_back(readSu2HistoryFile(path));
    Su2Layout layout;
    layout.unsteady = isUnsteadySu2Run(tables);
    builder.setCoefficientLoops(layout.unsteady);
    addSu2History(tables, layout, builder);
    builder.addSourceFile(path);
}

}  // namespace mon
