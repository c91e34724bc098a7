// Fuzzes the monitor-file parser and the restart handling behind it. A form
// feed in the input splits it into two segments of one run, as a run
// directory would deliver them. Bad input must end in owl::Error, never in
// a crash, a hang, memory out of proportion to the input (run with
// -rss_limit_mb and -malloc_limit_mb; tools/dev.sh does) or a run whose
// columns disagree with its records.
//
// Inputs must be allowed to be large (-max_len of a few hundred kilobytes):
// record counts only overflow, and skipped loops only cost memory, with
// thousands of lines.

#include <cstdint>
#include <string_view>

#include "fuzz/RunChecks.h"
#include "libs/exception/Error.h"
#include "libs/mondata/formats/monitor/MonitorFileParser.h"
#include "libs/mondata/model/MemoryBudget.h"
#include "libs/mondata/model/TimestepData.h"

namespace {
// The values the parser may hold: a run beyond it must be refused with an
// error, well below the fuzzer's memory limits.
constexpr uint64_t kBudget = uint64_t{256} << 20;

void checkKeys(const mon::RunData& run) {
    const mon::RowIndex& rows = *run.rows;
    TimestepData loops(run.rows, TimestepData::Key::Loop, true);
    for (int position = 0; position < rows.stepCount(); ++position) {
        const int step = rows.stepAt(position), count = rows.loopCountAt(position);
        if (count < 1 || rows.record(step, count) != rows.endRecordAt(position) - 1)
            __builtin_trap();
        if (loops.getValue(step, -1) != static_cast<float>(count)) __builtin_trap();
    }
}

void checkRun(const mon::RunData& run) {
    checkKeys(run);
    fuzzcheck::checkColumns(run);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    mon::limitMemoryBudget(kBudget);
    return 0;
}

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
