#include "libs/mondata/formats/openfoam/FoamLogLines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using mon::FoamLine;
using mon::FoamLineKind;
using mon::recogniseFoamLine;

TEST(FoamLogLines, ReadsTheTimeInBothForms) {
    FoamLine line = recogniseFoamLine("Time = 0.005");
    EXPECT_EQ(line.kind, FoamLineKind::Time);
    EXPECT_EQ(line.time, 0.005);
    EXPECT_EQ(line.name, "");
    line = recogniseFoamLine("Time = 1e-05s\r");
    EXPECT_EQ(line.kind, FoamLineKind::Time);
    EXPECT_EQ(line.time, 1e-05);
    EXPECT_EQ(line.name, "s");
    EXPECT_EQ(recogniseFoamLine("Time   : 21:14:03").kind, FoamLineKind::Other);
}

TEST(FoamLogLines, ReadsALinearSolution) {
    FoamLine line = recogniseFoamLine(
        "  GAMG:  Solving for p_rgh, Initial residual = 0.25, Final residual = 1e-07, No "
        "Iterations 12");
    ASSERT_EQ(line.kind, FoamLineKind::Solve);
    EXPECT_EQ(line.name, "p_rgh");
    EXPECT_EQ(line.values[0], 0.25f);
    EXPECT_EQ(line.values[1], 1e-07f);
    EXPECT_EQ(line.values[2], 12.0f);
    line = recogniseFoamLine(
        "smoothSolver:  Solving for Ux, Initial residual = nan, Final residual = -nan, No "
        "Iterations 1000");
    ASSERT_EQ(line.kind, FoamLineKind::Solve);
    EXPECT_TRUE(std::isnan(line.values[0]));
    EXPECT_TRUE(std::isnan(line.values[1]));
}

TEST(FoamLogLines, LeavesSolutionsWithoutResidualsAlone) {
    EXPECT_EQ(recogniseFoamLine("DICPCG:  Solving for p:  solution singularity").kind,
              FoamLineKind::Other);
    EXPECT_EQ(recogniseFoamLine("MULES: Solving for alpha.water").kind, FoamLineKind::Other);
    EXPECT_EQ(recogniseFoamLine("BiCGStab:  Solving for U, Initial residual = (1 0.5 0), Final "
                                "residual = (1e-06 1e-06 0), No Iterations 3")
                  .kind,
              FoamLineKind::Other);
}

TEST(FoamLogLines, ReadsTheOtherMonitoredLines) {
    FoamLine line = recogniseFoamLine("Interface Courant Number mean: 0.01 max: 0.5");
    ASSERT_EQ(line.kind, FoamLineKind::Courant);
    EXPECT_EQ(line.name, "Interface");
    EXPECT_EQ(line.values[1], 0.5f);
    line = recogniseFoamLine(
        "time step continuity errors : sum local = 1e-09, global = -2e-20, cumulative = 3e-19");
    ASSERT_EQ(line.kind, FoamLineKind::Continuity);
    EXPECT_EQ(line.values[1], -2e-20f);
    EXPECT_EQ(line.values[2], 3e-19f);
    line = recogniseFoamLine("ExecutionTime = 12.75 s  ClockTime = 13 s");
    ASSERT_EQ(line.kind, FoamLineKind::ExecutionTime);
    EXPECT_EQ(line.values[0], 12.75f);
    EXPECT_EQ(line.values[1], 13.0f);
    EXPECT_EQ(recogniseFoamLine("deltaT = 0.00125").values[0], 0.00125f);
    EXPECT_EQ(recogniseFoamLine("PIMPLE: Iteration 3").kind, FoamLineKind::OuterIteration);
    EXPECT_EQ(recogniseFoamLine("PIMPLE: iteration 3").values[0], 3.0f);
    EXPECT_EQ(recogniseFoamLine("PIMPLE: converged in 3 iterations").kind, FoamLineKind::Other);
    EXPECT_EQ(recogniseFoamLine("Solving for solid region heater").name, "heater");
    EXPECT_EQ(recogniseFoamLine("--> FOAM FATAL IO ERROR: ").kind, FoamLineKind::Failure);
    EXPECT_EQ(recogniseFoamLine("#0  Foam::error::printStack(Foam::Ostream&) at ??:?").kind,
              FoamLineKind::Failure);
    EXPECT_EQ(recogniseFoamLine("#0 is not a trace").kind, FoamLineKind::Other);
}

TEST(FoamLogLines, NumbersBeyondTheFloatRangeBecomeInfinityOrZero) {
    float value = 0;
    EXPECT_EQ(mon::readFoamNumber("8.1e+40,", value), 7u);
    EXPECT_EQ(value, HUGE_VALF);
    EXPECT_EQ(mon::readFoamNumber("-1e+400", value), 7u);
    EXPECT_EQ(value, -HUGE_VALF);
    EXPECT_EQ(mon::readFoamNumber("1e-400", value), 6u);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(mon::readFoamNumber("0.12345678901234567890123", value), 25u);
    EXPECT_EQ(value, 0.12345679f);
    EXPECT_EQ(mon::readFoamNumber("x1", value), 0u);
}

void expectDamaged(const char* text, const std::string& problem) {
    FoamLine line = recogniseFoamLine(text);
    EXPECT_EQ(line.kind, FoamLineKind::Damaged) << text;
    EXPECT_EQ(line.problem, problem) << text;
}

TEST(FoamLogLines, RecognisedLinesWhoseNumbersDoNotReadAreDamaged) {
    expectDamaged("Time = 0.0x5", "time '0.0x5' is not a number");
    expectDamaged("Time = ", "time '' is not a number");
    expectDamaged("Time = inf", "time 'inf' is not a number");
    expectDamaged("deltaT = fast", "deltaT 'fast' is not a number");
    expectDamaged(
        "GAMG:  Solving for p, Initial residual = 1, Final residual = 0.0#1, No "
        "Iterations 3",
        "solution of 'p': final residual '0.0#1' is not a number");
    expectDamaged("GAMG:  Solving for p, Initial residual = 1, No Iterations 3",
                  "solution of 'p': no final residual");
    expectDamaged(
        "GAMG:  Solving for p, Initial residual = 1, Final residual = 0.1, No "
        "Iterations 3 and more",
        "solution of 'p': unexpected text at the end");
    expectDamaged("Courant Number mean: 0.1 max: big", "Courant Number: max 'big' is not a number");
    expectDamaged("time step continuity errors : sum local = 1, global = 2",
                  "continuity errors: no cumulative");
    expectDamaged("ExecutionTime = 1 s  ClockTime = ?", "ClockTime '?' is not a number");
    expectDamaged("PIMPLE: iteration 0", "PIMPLE iteration '0' is not a whole number from 1");
}

}  // namespace
