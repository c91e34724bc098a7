#include "libs/mondata/sources/TimeKeyedHistory.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <sstream>

#include "libs/mondata/formats/openfoam/FoamDataParser.h"

namespace {

mon::FoamTable table(const std::string& rows) {
    return mon::FoamDataParser("t.dat").parse("# Time v\n" + rows);
}

// "step/loop: TIME a b" per record, "-" where a column has no value.
std::string records(const mon::RunData& run) {
    std::ostringstream out;
    const mon::RowIndex& rows = *run.rows;
    for (int position = 0; position < rows.stepCount(); ++position) {
        for (int loop = 0; loop < rows.loopCountAt(position); ++loop) {
            const int64_t row = rows.record(rows.stepAt(position), loop + 1);
            out << rows.stepAt(position) << "/" << loop + 1 << ":";
            for (const auto& column : run.columns) {
                if (row < 0 || column[row] == FLT_MAX)
                    out << " -";
                else
                    out << " " << column[row];
            }
            out << "\n";
        }
    }
    return out.str();
}

struct History {
    mon::RunDataBuilder builder;
    mon::TimeKeyedHistory history;
    int time = builder.declare({QStringLiteral("TIME"), {}});
    int a = builder.declare({QStringLiteral("a"), {}});
    int b = builder.declare({QStringLiteral("b"), {}});

    mon::RunData run() {
        history.deliver(builder, time);
        return builder.finish();
    }
};

TEST(TimeKeyedHistory, MergesSourcesOnTheirTimes) {
    History h;
    h.history.addSegment(0, table("0.1 1\n0.2 2\n0.4 4\n"), {h.a});
    h.history.addSegment(1, table("0.2 20\n0.30000000000000004 30\n0.4 40\n"), {h.b});
    mon::RunData run = h.run();
    EXPECT_EQ(records(run), "1/1: 0.1 1 -\n2/1: 0.2 2 20\n3/1: 0.3 - 30\n4/1: 0.4 4 40\n");
}

TEST(TimeKeyedHistory, RowsOfOneTimeAreCoefficientLoops) {
    History h;
    h.history.addSegment(0, table("1 1\n1 2\n1 3\n2 4\n"), {h.a});
    h.history.addSegment(1, table("1 10\n2 20\n"), {h.b});
    mon::RunData run = h.run();
    EXPECT_TRUE(run.hasCoefficientLoops);
    EXPECT_EQ(records(run), "1/1: 1 1 10\n1/2: 1 2 -\n1/3: 1 3 -\n2/1: 2 4 20\n");
}

}  // namespace
