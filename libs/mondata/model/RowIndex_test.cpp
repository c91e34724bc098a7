#include "libs/mondata/model/RowIndex.h"

#include <gtest/gtest.h>

namespace {

// Rows 3/1, 3/2, 5/3, 5/7: loops 1 and 2 of step 5 have no record.
TEST(RowIndex, StoresOnlyTheRecordsAndPresentsEveryLoop) {
    mon::RowIndex rows;
    for (const auto& [step, loop] : {std::pair{3, 1}, {3, 2}, {5, 3}, {5, 7}})
        rows.append(step, loop);
    EXPECT_EQ(rows.rowCount(), 4);
    EXPECT_EQ(rows.stepCount(), 2);
    EXPECT_EQ(rows.loopCountAt(1), 7);
    const int records[][3] = {{3, 2, 1},  {5, 1, -1}, {5, 3, 2}, {5, 5, -1}, {5, -1, 3},
                              {5, 8, -1}, {5, 0, -1}, {4, 1, -1}};  // step, loop, record
    for (const auto& r : records) EXPECT_EQ(rows.record(r[0], r[1]), r[2]) << r[0] << "/" << r[1];
    EXPECT_EQ(rows.positionOfRecord(3), 1);
    EXPECT_EQ(rows.recordFrom(1, 4), 3);
    EXPECT_EQ(rows.recordFrom(1, 8), 4);  // past the step's records
}

TEST(RowIndex, CountsBeyondTwoToTheThirtyFirstTakeNoMemory) {
    mon::RowIndex rows;
    for (int step = 0; step < 30000; ++step) rows.append(step, 100000);
    int64_t presented = 0;
    for (int position = 0; position < rows.stepCount(); ++position)
        presented += rows.loopCountAt(position);
    EXPECT_EQ(presented, int64_t{3000000000});
    EXPECT_EQ(rows.record(29999, 100000), 29999);
}

TEST(RowIndex, TruncatesFromAKey) {
    mon::RowIndex rows;
    for (int step = 1; step <= 4; ++step)
        for (int loop = 1; loop <= 3; ++loop) rows.append(step, loop);
    EXPECT_FALSE(rows.isAfterLast(4, 3));
    EXPECT_TRUE(rows.isAfterLast(4, 4));
    EXPECT_EQ(rows.truncateFrom(3, 2), 7);  // keeps step 3 loop 1
    EXPECT_EQ(rows.loopCountAt(2), 1);
    EXPECT_EQ(rows.truncateFrom(2, 1), 3);  // drops step 2 whole
    EXPECT_EQ(rows.stepCount(), 1);
}

TEST(RowIndex, TruncatesInsideSkippedLoopsAndAtStepsTheRunDoesNotHave) {
    mon::RowIndex rows;
    for (const auto& [step, loop] : {std::pair{2, 1}, {6, 2}, {6, 9}}) rows.append(step, loop);
    EXPECT_EQ(rows.truncateFrom(6, 5), 2);  // loop 2 stays
    EXPECT_EQ(rows.loopCountAt(1), 2);
    EXPECT_EQ(rows.append(6, 5), 3);
    EXPECT_EQ(rows.loopCountAt(1), 5);
    EXPECT_EQ(rows.truncateFrom(4, 1), 1);  // no record of step 6 is left
    EXPECT_EQ(rows.stepAt(0), 2);
    EXPECT_TRUE(rows.isAfterLast(6, 2));
}

}  // namespace
