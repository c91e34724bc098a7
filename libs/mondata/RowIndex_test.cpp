#include "libs/mondata/RowIndex.h"

#include <gtest/gtest.h>

namespace {

TEST(RowIndex, AppendsStepsAndLoopsContiguously) {
    mon::RowIndex rows;
    rows.append(3, 1);
    rows.append(3, 2);
    rows.append(5, 3);  // loops 1 and 2 of step 5 become empty records
    EXPECT_EQ(rows.rowCount(), 5);
    EXPECT_EQ(rows.stepCount(), 2);
    EXPECT_EQ(rows.row(3, 2), 1);
    EXPECT_EQ(rows.row(5, 1), 2);
    EXPECT_EQ(rows.row(5, -1), 4);
    EXPECT_EQ(rows.row(5, 4), -1);
    EXPECT_EQ(rows.row(5, 0), -1);
    EXPECT_EQ(rows.row(4, 1), -1);
    EXPECT_EQ(rows.positionOfRow(4), 1);
    EXPECT_EQ(rows.positionOfRow(1), 0);
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

TEST(RowIndex, TruncatesAtAStepTheRunDoesNotHave) {
    mon::RowIndex rows;
    rows.append(2, 1);
    rows.append(6, 1);
    EXPECT_EQ(rows.truncateFrom(4, 1), 1);
    EXPECT_EQ(rows.stepAt(0), 2);
}

}  // namespace
