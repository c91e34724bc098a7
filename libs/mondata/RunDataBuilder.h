#pragma once
// Assembles a RunData from records arriving in file order, as a solver wrote
// them. A record whose (step, loop) does not come after the last one marks a
// restart: the records from that key on are dropped and the new ones take
// their place. Variables are identified by name, so segments written by
// different solver processes combine into one history.

#include <QHash>
#include <QString>
#include <cfloat>
#include <vector>

#include "libs/mondata/RunData.h"

namespace mon {

class RunDataBuilder {
  public:
    // The largest coefficient loop a record may carry; it bounds the empty
    // records a damaged file could make the builder insert.
    static constexpr int kMaxLoop = 100000;

    RunDataBuilder();

    void setCoefficientLoops(bool loops) { data_.hasCoefficientLoops = loops; }
    bool hasCoefficientLoops() const { return data_.hasCoefficientLoops; }

    // Returns the column of the named variable, declaring it if new.
    int declare(VariableInfo info);
    // Column of a declared variable, or -1.
    int columnOf(const QString& name) const;
    const QString& variableName(int column) const { return data_.variables[column].name; }

    // Starts the record (step, loop); loop is 1 for runs without loops.
    void beginRecord(int step, int loop);
    // Sets a value of the current record.
    void setValue(int column, float value) {
        std::vector<float>& values = data_.columns[column];
        values.resize(static_cast<size_t>(rowCount_) - 1, FLT_MAX);
        values.push_back(value);
    }

    void addSourceFile(const std::string& path) { data_.sourceFiles.push_back(path); }
    RunData finish();

  private:
    RunData data_;
    RowIndex* rows_;
    QHash<QString, int> columns_;
    int rowCount_ = 0;
};

}  // namespace mon
