#include "libs/mondata/model/RowIndex.h"

#include <gtest/gtest.h>

namespace {

TEST(RowIndex, StoresOnlyTheRecordsAndPresentsEveryLoop) {
    mon::RowIndex rows;
    rows.append(3, 1);
    rows.append(3, 2);
    rows.append(5, 3);  // loops 1 and 2 of step 5 are skipped: no record
    rows.append(5, 7);
    EXPECT_EQ(rows.rowCount(), 4);
    EXPECT_EQ(rows.stepCount(), 2);
    EXPECT_EQ(rows.loopCountAt(0), 2);
    EXPECT_EQ(rows.loopCountAt(1), 7);
    EXPECT_EQ(rows.record(3, 2), 1);
    EXPECT_EQ(rows.record(5, 1), -1);
    EXPECT_EQ(rows.record(5, 3), 2);
    EXPECT_EQ(rows.record(5, 5), -1);
    EXPECT_EQ(rows.record(5, -1), 3);
    EXPECT_EQ(rows.record(5, 8), -1);
    EXPECT_EQ(rows.record(5, 0), -1);
    EXPECT_EQ(rows.record(4, 1), -1);
    EXPECT_EQ(rows.positionOfRecord(3), 1);
    EXPECT_EQ(rows.positionOfRecord(1), 0);
    EXPECT_EQ(rows.recordFrom(1, 4), 3);
    EXPECT_EQ(rows.recordFrom(1, 8), 4);  // past the step's records
    EXPECT_EQ(rows.recordFrom(0, 2), 1);
}

TEST(RowIndex, CountsBeyondTwoToTheThirtyFirstTakeNoMemory) {
    mon::RowIndex rows;
    for (int step = 0; step < 30000; ++step) rows.append(step, 100000);
    EXPECT_EQ(rows.rowCount(), 30000);
    int64_t presented = 0;
    for (int position = 0; position < rows.stepCount(); ++position)
        presented += rows.loopCountAt(position);
    EXPECT_EQ(presented, int64_t{3000000000});
    EXPECT_EQ(rows.record(29999, 100000), 29999);
    EXPECT_EQ(rows.record(29999, 99999), -1);
}

TEST(RowIndex, TruncatesFromAKey) {
    mon::RowIndex rows;
    for (int step = 1; step <= 4; ++step)
        for (int loop = 1; loop <= 3; ++loop) rows.append(step, loop);
    EXPECT_FALSE(rows.isAfterLast(4, 3));
    EXPECT_TRUE(rows.isAfterLast(4, 4));
    EXPECT_EQ(rows.truncateFrom(3, 2), 7);  // keeps step 3 loop 1
    EXPECT_EQ(rows.stepCount(), 3);
    EXPECT_EQ(rows.loopCountAt(2), 1);
    EXPECT_EQ(rows.truncateFrom(2, 1), 3);  // drops step 2 whole
    EXPECT_EQ(rows.stepCount(), 1);
    EXPECT_EQ(rows.truncateFrom(0, 1), 0);
    EXPECT_TRUE(rows.empty());
}

TEST(RowIndex, TruncatesInsideSkippedLoops) {
    mon::RowIndex rows;
    rows.append(2, 1);
    rows.append(6, 2);
    rows.append(6, 9);
    EXPECT_EQ(rows.truncateFrom(6, 5), 2);  // loop 2 stays
    EXPECT_EQ(rows.loopCountAt(1), 2);
    EXPECT_EQ(rows.append(6, 5), 3);
    EXPECT_EQ(rows.loopCountAt(1), 5);
    EXPECT_EQ(rows.truncateFrom(6, 2), 1);  // no record of step 6 is left
    EXPECT_EQ(rows.stepCount(), 1);
    EXPECT_TRUE(rows.isAfterLast(6, 2));
}

TEST(RowIndex, TruncatesAtAStepTheRunDoesNotHave) {
    mon::RowIndex rows;
    rows.append(2, 1);
    rows.append(6, 1);
    EXPECT_EQ(rows.truncateFrom(4, 1), 1);
    EXPECT_EQ(rows.stepAt(0), 2);
}

}  // namespace
