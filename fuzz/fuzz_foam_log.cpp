// Fuzzes the OpenFOAM solver-log reader: the line recognisers, the step
// buffering, outer iterations and restarts inside one log. Bad input must
// end in owl::Error, never in a crash, a hang or a run whose columns
// disagree with its records.

#include <cstdint>
#include <string_view>

#include "fuzz/RunChecks.h"
#include "libs/exception/Error.h"
#include "libs/mondata/formats/openfoam/FoamLog.h"
#include "libs/mondata/formats/openfoam/FoamLogParser.h"
#include "libs/mondata/model/TimestepData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(bytes), size);
    volatile bool recognised = mon::looksLikeFoamLog(text.substr(0, 4096));
    (void)recognised;
    mon::RunDataBuilder builder;
    try {
        mon::FoamLogParser(builder, "log.pimpleFoam").parse(text);
        fuzzcheck::checkColumns(builder.finish());
    } catch (const owl::Error&) {
    }
    return 0;
}
