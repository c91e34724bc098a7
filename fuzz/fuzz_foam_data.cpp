// Fuzzes the OpenFOAM function-object data parser and the time-keyed
// merging behind it. A form feed in the input splits it into two files:
// the second is a later restart segment of the first, as two start-time
// folders of one function object would deliver them. Bad input must end in
// owl::Error, never in a crash, a hang or a run whose columns disagree
// with its records.

#include <cstdint>
#include <string_view>

#include "fuzz/RunChecks.h"
#include "libs/exception/Error.h"
#include "libs/mondata/formats/openfoam/FoamDataParser.h"
#include "libs/mondata/formats/openfoam/FoamVariables.h"
#include "libs/mondata/model/TimestepData.h"
#include "libs/mondata/sources/TimeKeyedHistory.h"

namespace {
void addSegment(std::string_view text, const char* name, mon::RunDataBuilder& builder,
                mon::TimeKeyedHistory& history) {
    mon::FoamTable table = mon::FoamDataParser(name).parse(text);
    for (const mon::FoamRow& row : table.rows)
        if (row.firstCell > table.cells.size()) __builtin_trap();
    std::vector<int> columns;
    const mon::FoamOrigin origin{"", "fo", "solverInfo", false, false};
    for (const mon::FoamColumn& column : table.columns)
        columns.push_back(builder.declare(mon::foamVariable(origin, column)));
    history.addSegment(0, std::move(table), std::move(columns));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const size_t split = text.find('\f');
    mon::RunDataBuilder builder;
    mon::TimeKeyedHistory history;
    try {
        const int time = builder.declare(mon::foamTimeVariable());
        addSegment(text.substr(0, split), "a.dat", builder, history);
        if (split != std::string_view::npos)
            addSegment(text.substr(split + 1), "b.dat", builder, history);
        history.deliver(builder, time);
        fuzzcheck::checkColumns(builder.finish());
    } catch (const owl::Error&) {
    }
    return 0;
}
