// Fuzzes the monitor-file parser and the restart handling behind it. A form
// feed in the input splits it into two segments of one run, as a run
// directory would deliver them. Bad input must end in owl::Error, never in
// a crash, a hang or a run whose columns disagree with its records.

#include <cstdint>
#include <string_view>

#include "libs/exception/Error.h"
#include "libs/mondata/formats/MonitorFileParser.h"
#include "libs/mondata/TimestepData.h"

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
    size_t split = text.find('\f');
    mon::RunDataBuilder builder;
    try {
        mon::MonitorFileParser(builder, "a.mon", true).parse(text.substr(0, split));
        if (split != std::string_view::npos)
            mon::MonitorFileParser(builder, "b.mon", false).parse(text.substr(split + 1));
        checkRun(builder.finish());
    } catch (const owl::Error&) {
    }
    return 0;
}
