// The time-history table's steps that no data source can reach: prepared
// data without "ACCUMULATED TIMESTEP", or without a listed column.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "export/RunHistoryWriter.h"
#include "libs/exception/Error.h"
#include "libs/mondata/model/TimestepData.h"

class RunHistoryWriterTestAccess {
  public:
    static void writeTimeHistory(const RunHistoryWriter& writer, std::ostream& out,
                                 const PreparedData& data,
                                 const std::vector<std::string>& columns) {
        writer.writeTimeHistory(out, data, columns, false);
    }
};

namespace {

// Writes the columns of data (steps 1 and 2) and returns what was written,
// then "|" and the error raised ("" when none).
std::string write(const std::vector<std::string>& columns, bool withSteps, bool header = true,
                  int32_t firstStep = 0) {
    auto rows = std::make_shared<mon::RowIndex>();
    rows->append(1, 1);
    rows->append(2, 1);
    TimestepData steps(rows, mon::FloatColumn{1, 2}, false);
    TimestepData pressure(rows, mon::FloatColumn{0.5f, 0.25f}, false);
    PreparedData data{{"P", &pressure}};
    if (withSteps) data.emplace("ACCUMULATED TIMESTEP", &steps);
    RunHistoryWriter writer;
    writer.setHeader(header).setFirstTimestep(firstStep);
    std::ostringstream out;
    std::string error;
    try {
        RunHistoryWriterTestAccess::writeTimeHistory(writer, out, data, columns);
    } catch (const owl::internal::error& e) {
        EXPECT_EQ(e.getOperation(), "outputData");
        EXPECT_EQ(e.getType(), owl::errorFatal);
        error = e.getErrorText();
    }
    return out.str() + "|" + error;
}

}  // namespace

TEST(TimeHistoryTable, WritesFromPreparedDataOrFailsBeforeTheFirstLine) {
    const std::string noSteps = "|Failed to locate Accumulated Timestep key field.";
    EXPECT_EQ(write({"ACCUMULATED TIMESTEP", "P"}, false),
              "\"ACCUMULATED TIMESTEP\",\"P\"\n" + noSteps);
    EXPECT_EQ(write({"ACCUMULATED TIMESTEP"}, false, false), noSteps);
    EXPECT_EQ(write({"ACCUMULATED TIMESTEP", "P", "P"}, true),
              "\"ACCUMULATED TIMESTEP\",\"P\",\"P\"\n"
              "1,5.00000000e-01,5.00000000e-01\n2,2.50000000e-01,2.50000000e-01\n|");
    EXPECT_EQ(
        write({"ACCUMULATED TIMESTEP", "P", "Q"}, true),
        "\"ACCUMULATED TIMESTEP\",\"P\",\"Q\"\n|Failed to locate variable in prepared data: Q");
    // No line to write: nothing to fail on.
    EXPECT_EQ(write({"ACCUMULATED TIMESTEP", "Q"}, true, true, 5),
              "\"ACCUMULATED TIMESTEP\",\"Q\"\n|");
}

TEST(TableHeader, QuotesEveryNameAndDoublesQuotesAndLineFeeds) {
    std::ostringstream out;
    RunHistoryWriter::writeHeader(out, {"A", "say \"hi\"", "two\nlines", "", "a,b"});
    RunHistoryWriter::writeHeader(out, {});
    EXPECT_EQ(out.str(), "\"A\",\"say \"\"hi\"\"\",\"two\"\"lines\",\"\",\"a,b\"\n\n");
}
