#pragma once
// The time-history table written the plain way, for comparison: every step
// of the range, a map lookup and a getValue per field, iostream formatting
// and std::endl (a flush) per line.

#include <algorithm>
#include <cfloat>
#include <iomanip>
#include <ostream>
#include <string>
#include <vector>

#include "export/RunHistoryWriter.h"
#include "libs/mondata/model/TimestepData.h"

namespace bench {

inline void writeLiteralTable(std::ostream& out, const PreparedData& data,
                              const std::vector<std::string>& columns, bool loops) {
    RunHistoryWriter::writeHeader(out, columns);
    const TimestepData* key = data.at("ACCUMULATED TIMESTEP");
    std::vector<bool> integer;
    for (const std::string& name : columns) integer.push_back(RunHistoryWriter::isKeyField(name));
    std::vector<float> row(columns.size());
    for (int step = key->getFirstTimestep(); step <= key->getLastTimestep(); ++step) {
        if (!key->exists(step)) continue;
        const int first = loops ? 1 : -1, last = loops ? key->getCloopCount(step) : -1;
        for (int loop = first; loop <= last; ++loop) {
            for (size_t i = 0; i < columns.size(); ++i)
                row[i] = data.find(columns[i])->second->getValue(step, loop);
            out << std::setprecision(8);
            for (size_t i = 0; i < columns.size(); ++i) {
                if (i > 0) out << ",";
                if (row[i] == FLT_MAX) continue;
                if (integer[i])
                    out << std::dec << static_cast<int32_t>(row[i]);
                else
                    out << std::scientific << row[i];
            }
            out << std::endl;
        }
    }
}

}  // namespace bench
