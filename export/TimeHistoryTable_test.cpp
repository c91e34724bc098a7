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

struct Table {
    std::shared_ptr<mon::RowIndex> rows = std::make_shared<mon::RowIndex>();
    std::unique_ptr<TimestepData> steps, pressure;
    RunHistoryWriter writer;
    std::ostringstream out;

    Table() {
        rows->append(1, 1);
        rows->append(2, 1);
        steps = std::make_unique<TimestepData>(rows, mon::FloatColumn{1, 2}, false);
        pressure = std::make_unique<TimestepData>(rows, mon::FloatColumn{0.5f, 0.25f}, false);
    }

    // The error text writeTimeHistory raises, or "" when it succeeds.
    std::string write(const PreparedData& data, const std::vector<std::string>& columns) {
        try {
            RunHistoryWriterTestAccess::writeTimeHistory(writer, out, data, columns);
        } catch (const owl::internal::error& error) {
            EXPECT_EQ(error.getOperation(), "outputData");
            EXPECT_EQ(error.getType(), owl::errorFatal);
            return error.getErrorText();
        }
        return "";
    }
};

}  // namespace

TEST(TimeHistoryTable, WithoutAccumulatedTimestepWritesTheHeaderThenFails) {
    Table table;
    EXPECT_EQ(table.write({{"P", table.pressure.get()}}, {"ACCUMULATED TIMESTEP", "P"}),
              "Failed to locate Accumulated Timestep key field.");
    EXPECT_EQ(table.out.str(), "\"ACCUMULATED TIMESTEP\",\"P\"\n");

    Table noHeader;
    noHeader.writer.setHeader(false);
    EXPECT_EQ(noHeader.write({}, {"ACCUMULATED TIMESTEP"}),
              "Failed to locate Accumulated Timestep key field.");
    EXPECT_EQ(noHeader.out.str(), "");
}

TEST(TimeHistoryTable, AColumnWithoutDataFailsBeforeTheFirstLine) {
    Table table;
    const PreparedData data{{"ACCUMULATED TIMESTEP", table.steps.get()},
                            {"P", table.pressure.get()}};
    EXPECT_EQ(table.write(data, {"ACCUMULATED TIMESTEP", "P", "Q"}),
              "Failed to locate variable in prepared data: Q");
    EXPECT_EQ(table.out.str(), "\"ACCUMULATED TIMESTEP\",\"P\",\"Q\"\n");

    Table empty;  // no line to write: nothing to fail on
    empty.writer.setFirstTimestep(5);
    EXPECT_EQ(empty.write(data, {"ACCUMULATED TIMESTEP", "Q"}), "");
    EXPECT_EQ(empty.out.str(), "\"ACCUMULATED TIMESTEP\",\"Q\"\n");
}

TEST(TimeHistoryTable, WritesFromPreparedData) {
    Table table;
    const PreparedData data{{"ACCUMULATED TIMESTEP", table.steps.get()},
                            {"P", table.pressure.get()}};
    EXPECT_EQ(table.write(data, {"ACCUMULATED TIMESTEP", "P", "P"}), "");
    EXPECT_EQ(table.out.str(),
              "\"ACCUMULATED TIMESTEP\",\"P\",\"P\"\n"
              "1,5.00000000e-01,5.00000000e-01\n"
              "2,2.50000000e-01,2.50000000e-01\n");
}

TEST(TableHeader, QuotesEveryNameAndDoublesQuotesAndLineFeeds) {
    std::ostringstream out;
    RunHistoryWriter::writeHeader(out, {"A", "say \"hi\"", "two\nlines", "", "a,b"});
    EXPECT_EQ(out.str(), "\"A\",\"say \"\"hi\"\"\",\"two\"\"lines\",\"\",\"a,b\"\n");
    std::ostringstream none;
    RunHistoryWriter::writeHeader(none, {});
    EXPECT_EQ(none.str(), "\n");
}
