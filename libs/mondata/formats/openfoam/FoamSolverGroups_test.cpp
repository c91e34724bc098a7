#include "libs/mondata/formats/openfoam/FoamSolverGroups.h"

#include <gtest/gtest.h>

namespace {

std::vector<int> align(const std::vector<int>& header, const std::vector<int>& row) {
    std::vector<int> placement;
    mon::alignSolverGroups(header, row, placement);
    return placement;
}

TEST(FoamSolverGroups, PlacesGroupsOnlyWhereEveryAlignmentAgrees) {
    // U (2-D: 6 values), p (3), k (3), T (3)
    const std::vector<int> header{6, 3, 3, 3};
    EXPECT_EQ(align(header, {6, 3, 3, 3}), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(align(header, {6}), (std::vector<int>{0}));
    EXPECT_EQ(align(header, {3}), (std::vector<int>{-1}));
    EXPECT_EQ(align(header, {6, 3, 3}), (std::vector<int>{0, -1, -1}));
    EXPECT_EQ(align({3, 6, 3}, {3, 3}), (std::vector<int>{0, 2}));
    EXPECT_EQ(align({3, 6, 3}, {6, 3}), (std::vector<int>{1, 2}));
}

}  // namespace
