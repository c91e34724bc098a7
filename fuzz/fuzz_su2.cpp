// Fuzzes the SU2 history reader: the text parser, the record keys it makes
// and the merging of zones. A form feed in the input splits it into two
// files, read as a run and its restart and again as two zones. Bad input
// must end in owl::Error, never in a crash, a hang or a run whose columns
// disagree with its records.

#include <cstdint>
#include <string_view>

#include "fuzz/RunChecks.h"
#include "libs/exception/Error.h"
#include "libs/mondata/formats/su2/Su2History.h"
#include "libs/mondata/model/TimestepData.h"
#include "libs/mondata/sources/MergedRuns.h"

namespace {
mon::RunData history(const std::vector<mon::Su2Table>& tables, bool unsteady,
                     const std::string& zone) {
    mon::RunDataBuilder builder;
    builder.setCoefficientLoops(unsteady);
    mon::addSu2History(tables, mon::Su2Layout{unsteady, zone}, builder);
    return builder.finish();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(bytes), size);
    volatile bool recognised = mon::isSu2History(text.substr(0, 4096));
    (void)recognised;
    const size_t split = text.find('\f');
    try {
        std::vector<mon::Su2Table> tables{mon::parseSu2History("a.csv", text.substr(0, split))};
        if (split != std::string_view::npos)
            tables.push_back(mon::parseSu2History("b.csv", text.substr(split + 1)));
        const bool unsteady = mon::isUnsteadySu2Run(tables);
        fuzzcheck::checkColumns(history(tables, unsteady, ""));
        std::vector<mon::RunData> zones;
        for (size_t i = 0; i < tables.size(); ++i)
            zones.push_back(history({tables[i]}, unsteady, std::to_string(i)));
        mon::RunDataBuilder merged;
        merged.setCoefficientLoops(unsteady);
        mon::addMergedRuns(zones, merged);
        fuzzcheck::checkColumns(merged.finish());
    } catch (const owl::Error&) {
    }
    return 0;
}
