#include "libs/mondata/formats/openfoam/FoamLog.h"

#include <gtest/gtest.h>

namespace {

using mon::looksLikeFoamLog;

const char* const kBannerOrg =
    "/*---------------------------------------------------------------------------*\\\n"
    "  =========                 |\n"
    "  \\\\      /  F ield         | OpenFOAM: The Open Source CFD Toolbox\n";

// Logs are recognised by the end-to-end tests that read them with -mon (the
// banner, the header lines, a log cut at its head): here, what is no log.
TEST(FoamLogDetection, LeavesOtherFilesToTheirFormats) {
    EXPECT_FALSE(looksLikeFoamLog(""));
    EXPECT_FALSE(looksLikeFoamLog("monitor-file 1\nvar \"Time = 1\"\n"));
    EXPECT_FALSE(looksLikeFoamLog("\"Time_Iter\",\"Outer_Iter\",    \"rms[Rho]\"    \n0, 0, -8\n"));
    EXPECT_FALSE(looksLikeFoamLog("# Forces\n# CofR : (0 0 0)\n# Time\tforces\n0.1\t1 2 3\n"));
    EXPECT_FALSE(looksLikeFoamLog("# Residuals\n# Time = 1\n# Solving for p\nExec   : x\n"));
    // A dictionary carries the same banner.
    EXPECT_FALSE(looksLikeFoamLog(std::string(kBannerOrg) + "FoamFile\n{\n    version 2.0;\n"));
    // A "Time =" line alone, or not at a line start, is not enough.
    EXPECT_FALSE(looksLikeFoamLog("Time = 1\nsomething else\n"));
    EXPECT_FALSE(looksLikeFoamLog("x Time = 1\nGAMG:  Solving for p, Initial residual = 1\n"));
}

}  // namespace
