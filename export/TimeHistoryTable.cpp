// The time-history table (the default mode) and the table format it shares
// with the last-values table.

#include "export/KeyFields.h"
#include "export/RunHistoryWriter.h"
#include "libs/exception/Error.h"

bool RunHistoryWriter::isKeyField(const std::string& name) {
    return name == keyfields::kCoefficientLoop || name == keyfields::kAccumulatedTimestep;
}

void RunHistoryWriter::writeHeader(std::ostream&, const std::vector<std::string>&) {}

void RunHistoryWriter::outputData() {
    throw owl::internal::error("RunHistoryWriter", "outputData",
                               "The time-history table is not available yet.", owl::errorFatal);
}
