#include "export/TimeHistoryLines.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <iomanip>
#include <memory>
#include <random>
#include <sstream>
#include <tuple>

#include "libs/mondata/model/TimestepData.h"

using owl::TableFormat;
using owl::TimeHistoryColumn;
using owl::TimeHistoryLines;

namespace {

// A run of steps 10, 20, 30, ... (some left out) presenting 1 to 5 loops
// each, some of them skipped (no record), the record keys, and columns of
// random values, gaps (FLT_MAX), NaNs and infinities.
struct SyntheticRun {
    std::shared_ptr<mon::RowIndex> rows = std::make_shared<mon::RowIndex>();
    std::vector<std::unique_ptr<TimestepData>> columns;
    size_t keys = 1;  // leading key columns

    SyntheticRun(int steps, int columnCount, bool loops) {
        std::mt19937 random(7);
        for (int step = 1; step <= steps; ++step) {
            if (step % 7 == 3) continue;
            const int count = loops ? 1 + static_cast<int>(random() % 5) : 1;
            for (int loop = 1; loop <= count; ++loop)
                if (loop == count || random() % 3 != 0) rows->append(10 * step, loop);
        }
        columns.push_back(std::make_unique<TimestepData>(rows, TimestepData::Key::Step, loops));
        if (loops) {
            columns.push_back(std::make_unique<TimestepData>(rows, TimestepData::Key::Loop, loops));
            keys = 2;
        }
        for (size_t column = keys; column < static_cast<size_t>(columnCount); ++column)
            columns.push_back(std::make_unique<TimestepData>(rows, randomValues(random), loops));
    }

    mon::FloatColumn randomValues(std::mt19937& random) const {
        mon::FloatColumn values(static_cast<size_t>(rows->rowCount()));
        for (float& value : values) {
            uint32_t pick = random() % 100;
            value = pick < 10   ? FLT_MAX
                    : pick < 12 ? NAN
                    : pick < 13 ? -INFINITY
                                : std::ldexp(static_cast<float>(random() % 100000) - 50000.0f,
                                             static_cast<int>(random() % 60) - 40);
        }
        return values;
    }

    std::vector<TimeHistoryColumn> tableColumns() const {
        std::vector<TimeHistoryColumn> result;
        for (size_t i = 0; i < columns.size(); ++i) result.push_back({columns[i].get(), i < keys});
        return result;
    }
};

// The table lines written the plain way: every step of the range, a lookup
// per field, iostream formatting and a flush per line.
std::string plainLines(const SyntheticRun& run, int first, int last, bool loops) {
    std::ostringstream out;
    const TimestepData& key = *run.columns[0];
    for (int step = first; step <= last; ++step) {
        if (!key.exists(step)) continue;
        const int loopCount = loops ? key.getCloopCount(step) : 1;
        for (int loop = 1; loop <= loopCount; ++loop) {
            out << std::setprecision(8);
            for (size_t column = 0; column < run.columns.size(); ++column) {
                if (column > 0) out << ",";
                float value = run.columns[column]->getValue(step, loops ? loop : -1);
                if (value == FLT_MAX) continue;
                if (column < run.keys)
                    out << std::dec << static_cast<int32_t>(value);
                else
                    out << std::scientific << value;
            }
            out << std::endl;
        }
    }
    return out.str();
}

std::string fastLines(const SyntheticRun& run, int first, int last, bool loops, unsigned workers) {
    std::ostringstream out;
    TimeHistoryLines lines(*run.columns[0], first, last, loops);
    lines.write(out, run.tableColumns(), TableFormat(8), workers);
    return out.str();
}

}  // namespace

TEST(TimeHistoryLines, ManyBlocksOnAnyNumberOfThreadsMatchThePlainWay) {
    for (bool loops : {true, false}) {
        const SyntheticRun run(6000, 24, loops);  // a few megabytes: several blocks
        const std::string expected = plainLines(run, 0, 70000, loops);
        ASSERT_GT(expected.size(), 3u << 19);  // three blocks and more
        for (unsigned workers : {0u, 1u, 2u, 3u})
            EXPECT_EQ(fastLines(run, 0, 70000, loops, workers), expected) << workers;
        EXPECT_EQ(fastLines(run, 15, 33333, loops, 2), plainLines(run, 15, 33333, loops));
    }
}

TEST(TimeHistoryLines, RangesCountOnlyTheStepsThatExist) {
    const SyntheticRun run(10, 3, true);  // steps 10..100 without 30 and 100
    auto count = [&](int first, int last, bool loops) {
        return TimeHistoryLines(*run.columns[0], first, last, loops).lineCount();
    };
    const std::tuple<int, int, size_t> ranges[] = {
        {30, 30, 0}, {25, 45, 1}, {-5, 1000, 8}, {50, 40, 0}, {101, 2000000000, 0}};
    for (const auto& [first, last, lines] : ranges)
        EXPECT_EQ(count(first, last, false), lines) << first << ".." << last;
    size_t presented = 0;
    for (int position = 0; position < run.rows->stepCount(); ++position)
        presented += static_cast<size_t>(run.rows->loopCountAt(position));
    EXPECT_GT(presented, static_cast<size_t>(run.rows->rowCount()));  // some loops skipped
    EXPECT_EQ(count(INT32_MIN, INT32_MAX, true), presented);
    EXPECT_EQ(fastLines(run, 10, 100, true, 0), plainLines(run, 10, 100, true));
}

TEST(TimeHistoryLines, ColumnsWithTheirOwnRecordsAreReadByStepAndLoop) {
    const SyntheticRun run(40, 2, true);
    auto other = std::make_shared<mon::RowIndex>();
    other->append(20, 1);  // a shorter record list: only step 20, two loops
    other->append(20, 2);
    other->append(50, 1);
    TimestepData own(other, mon::FloatColumn{1.5f, 2.5f, 3.5f}, true);
    std::vector<TimeHistoryColumn> columns = run.tableColumns();
    columns.push_back({&own, false});
    std::ostringstream out;
    TimeHistoryLines(*run.columns[0], 20, 20, true).write(out, columns, TableFormat(8), 0);
    std::istringstream text(out.str());
    std::vector<std::string> lastFields;
    for (std::string line; std::getline(text, line);)
        lastFields.push_back(line.substr(line.rfind(',') + 1));
    std::vector<std::string> expected = {"1.50000000e+00", "2.50000000e+00"};
    expected.resize(static_cast<size_t>(run.columns[0]->getCloopCount(20)));
    EXPECT_EQ(lastFields, expected);
}

TEST(TimeHistoryLines, StopsOnceTheStreamFails) {
    const SyntheticRun run(6000, 24, true);
    std::ostringstream out;
    out.setstate(std::ios::badbit);
    TimeHistoryLines(*run.columns[0], 0, 70000, true)
        .write(out, run.tableColumns(), TableFormat(8), 2);
    EXPECT_TRUE(out.bad());
    EXPECT_TRUE(out.str().empty());
}
