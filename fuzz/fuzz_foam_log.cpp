// Fuzzes the OpenFOAM solver-log reader: the line recognisers, the step
// buffering, outer iterations and restarts inside one log. Bad input must
// end in owl::Error, never in a crash, a hang or a run whose columns
// disagree with its records.

#include <cstdint>
#include <string_view>

#include "libs/exception/Error.h"
#include "libs/mondata/TimestepData.h"
#include "libs/mondata/formats/FoamLog.h"
#include "libs/mondata/formats/FoamLogParser.h"

namespace {
void checkRun(const mon::RunData& run) {
    const size_t rows = static_cast<size_t>(run.rows->rowCount());
    for (const auto& column : run.columns) {
        if (column.size() != rows) __builtin_trap();
        TimestepData data(run.rows, column, run.hasCoefficientLoops);
        volatile float last = data.getValue(data.getLastTimestep(), data.getLastCloop());
        (void)last;
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(bytes), size);
    volatile bool recognised = mon::looksLikeFoamLog(text.substr(0, 4096));
    (void)recognised;
    mon::RunDataBuilder builder;
    try {
        mon::FoamLogParser(builder, "log.pimpleFoam").parse(text);
        checkRun(builder.finish());
    } catch (const owl::Error&) {
    }
    return 0;
}
