#include "libs/mondata/formats/openfoam/FoamLogParser.h"

#include <gtest/gtest.h>

#include "libs/mondata/text/PiecesTestSupport.h"

namespace {

const std::string kLog =
    "Starting time loop\n"
    "Time = 0.0002\n"
    "PIMPLE: iteration 1\n"
    "smoothSolver:  Solving for Ux, Initial residual = 1, Final residual = 2.1e-06, No Iterations "
    "1\n"
    "GAMG:  Solving for p, Initial residual = 1, Final residual = 0.0301, No Iterations 6\n"
    "time step continuity errors : sum local = 1.5e-05, global = 2e-19, cumulative = 2e-19\n"
    "PIMPLE: iteration 2\n"
    "smoothSolver:  Solving for Ux, Initial residual = 0.031, Final residual = 4e-07, No "
    "Iterations 2\n"
    "GAMG:  Solving for p, Initial residual = 0.045, Final residual = 0.002, No Iterations 4\n"
    "ExecutionTime = 0.81 s  ClockTime = 1 s\n"
    "Courant Number mean: 0.0125 max: 0.4\n"
    "deltaT = 0.00024\n"
    "Time = 0.00044\r\n"
    "PIMPLE: iteration 1\n"
    "smoothSolver:  Solving for Ux, Initial residual = 0.0082, Final residual = 1.1e-07, No "
    "Iterations 2\n"
    "GAMG:  Solving for p, Initial residual = 0.33, Final residual = 0.015, No Iterations 5\n"
    "ExecutionTime = 1.5 s  ClockTime = 2 s\n"
    "Time = 0.00068\n"
    "PIMPLE: iteration 1\n"
    "smoothSolver:  Solving for Ux, Initial residual = 0.0071, Final resid";  // still being written

// The run as text: every variable's name and values, record by record.
std::string describe(const mon::RunData& run) {
    std::string text;
    for (size_t v = 0; v < run.variables.size(); ++v) {
        text += run.variables[v].name.toStdString() + ":";
        for (float value : run.columns[v]) text += " " + std::to_string(value);
        text += "\n";
    }
    for (int position = 0; position < run.rows->stepCount(); ++position)
        text += std::to_string(run.rows->stepAt(position)) + "x" +
                std::to_string(run.rows->loopCountAt(position)) + " ";
    return text;
}

std::string parsedWhole(const std::string& log) {
    mon::RunDataBuilder builder;
    mon::FoamLogParser(builder, "log").parse(log);
    return describe(builder.finish());
}

std::string parsedInPieces(const std::string& log, size_t pieceBytes) {
    mon::RunDataBuilder builder;
    mon::FoamLogParser parser(builder, "log");
    mon::testing::feedInPieces(log, pieceBytes,
                               [&](std::string_view lines) { return parser.parseLines(lines); });
    parser.finish();
    return describe(builder.finish());
}

TEST(FoamLogParser, ALogReadInPiecesIsTheLogReadWhole) {
    const std::string whole = parsedWhole(kLog);
    ASSERT_NE(whole.find("Ux"), std::string::npos);
    for (size_t piece = 1; piece <= kLog.size(); piece += piece < 40 ? 1 : 37)
        EXPECT_EQ(parsedInPieces(kLog, piece), whole) << piece << "-byte pieces";
}

}  // namespace
