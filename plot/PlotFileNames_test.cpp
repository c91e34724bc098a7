#include "plot/PlotFileNames.h"

#include <gtest/gtest.h>

namespace plot {
namespace {

TEST(PlotFileNames, KeepOnlySafeCharacters) {
    EXPECT_EQ(safeFileStem("Momentum and Mass"), "Momentum_and_Mass");
    EXPECT_EQ(safeFileStem("../etc/passwd"), "etc_passwd");
    EXPECT_EQ(safeFileStem("Forces (N) / Moments"), "Forces_N_Moments");
    EXPECT_EQ(safeFileStem("Druck Sonde \xc3\xa4"), "Druck_Sonde");
    EXPECT_EQ(safeFileStem("***"), "plot");
    EXPECT_EQ(safeFileStem(".hidden"), "hidden");
    EXPECT_EQ(safeFileStem(std::string(200, 'a')).size(), 80u);
}

TEST(PlotFileNames, StemsAreUniqueWithoutRegardToCase) {
    EXPECT_EQ(uniqueFileStems({"A B", "A/B", "a_b", "Index", "C"}),
              (std::vector<std::string>{"A_B", "A_B-2", "a_b-3", "Index-2", "C"}));
}

}  // namespace
}  // namespace plot
