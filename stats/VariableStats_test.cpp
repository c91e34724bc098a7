// Known-answer tests of the statistics row on signals whose truth is known.

#include "stats/VariableStats.h"

#include <gtest/gtest.h>

#include "stats/StatsSignals.h"

namespace stats {
namespace {

using signals::Ar1;
using signals::series;

StatsOptions fixedWindow(size_t steps) {
    StatsOptions options;
    options.windowSteps = steps;
    return options;
}

bool covers(const VariableStats& row, double truth, double error) {
    return std::fabs(row.mean - truth) <= 1.96 * error;
}

// Over many series, MEAN ± 1.96 STDERR covers the true mean about 95% of the
// time; on correlated noise the plain STD/sqrt(n) far less often; and
// Geweke's test stays quiet.
struct CoverageCase {
    double phi;
    size_t series;
    size_t length;
    double naiveAtMost;  // coverage of the uncorrected interval
};

class CorrelatedCoverageTest : public testing::TestWithParam<CoverageCase> {};

TEST_P(CorrelatedCoverageTest, IntervalCoversTheTrueMean) {
    const CoverageCase c = GetParam();
    const double truth = 0.25;
    size_t covered = 0, naive = 0, quiet = 0;
    double taus = 0;
    for (uint64_t seed = 0; seed < c.series; ++seed) {
        const VariableStats row =
            summarize(series(c.length, Ar1(c.phi, 1000 + seed, truth)), fixedWindow(c.length));
        covered += covers(row, truth, row.stdError);
        naive += covers(row, truth, row.stdDev / std::sqrt(row.count));
        quiet += !row.drifting;
        taus += row.tau;
    }
    const double tau = (1 + c.phi) / (1 - c.phi);
    EXPECT_NEAR(taus / c.series, tau, 0.15 * tau);
    const double share = double(covered) / c.series, naiveShare = double(naive) / c.series;
    EXPECT_GE(share, 0.90);
    EXPECT_LE(share, 0.98);
    EXPECT_LE(naiveShare, c.naiveAtMost);
    EXPECT_GE(double(quiet) / c.series, 0.95);
}

INSTANTIATE_TEST_SUITE_P(Ar1, CorrelatedCoverageTest,
                         testing::Values(CoverageCase{0, 300, 2000, 1},
                                         CoverageCase{0.5, 300, 2000, 0.85},
                                         CoverageCase{0.9, 300, 4000, 0.45},
                                         CoverageCase{0.99, 100, 20000, 0.25}));

// An exponential start-up transient on AR(1) noise: the automatic window
// cuts in the transient's tail and its mean is unbiased; the whole history's
// mean is not (its STDERR, inflated by the transient, hides that).
TEST(VariableStatsTest, AutomaticWindowCutsTheStartUp) {
    struct Case {
        double phi, amplitude, decay;
    };
    for (const Case c : {Case{0.5, 20, 100}, Case{0.9, 10, 200}}) {
        const size_t n = 4000, seeds = 20;
        size_t covered = 0;
        for (uint64_t seed = 0; seed < seeds; ++seed) {
            Ar1 noise(c.phi, 77 + seed, 1.5);
            const StepSeries s = series(
                n, [&](size_t i) { return noise(i) + c.amplitude * std::exp(-(i / c.decay)); });
            const VariableStats row = summarize(s, {});
            EXPECT_FALSE(row.notSettled);
            EXPECT_GE(row.windowStart, c.decay);
            EXPECT_LE(row.windowStart, 10 * c.decay);
            covered += covers(row, 1.5, row.stdError);
            // The whole history's mean lies far outside the cut's interval.
            const VariableStats whole = summarize(s, fixedWindow(n));
            EXPECT_GT(std::fabs(whole.mean - 1.5), 3 * row.stdError) << seed;
        }
        EXPECT_GE(covered, seeds * 8 / 10);
    }
}

// DRIFT is the least-squares slope times the window's length in steps; a
// clear trend is drifting, with or without noise.
TEST(VariableStatsTest, LinearDrift) {
    struct Case {
        double slope;
        int32_t spacing;
        double noise;
    };
    for (const Case c : {Case{1e-3, 1, 0}, Case{-2.5, 3, 0}, Case{4e-4, 2, 0.1}}) {
        Ar1 noise(0.5, 5);
        const StepSeries s = series(
            2000, [&](size_t i) { return 7 + c.slope * (1 + i * c.spacing) + c.noise * noise(i); },
            c.spacing);
        const VariableStats row = summarize(s, fixedWindow(1000));
        const double expected = c.slope * (row.lastStep - row.firstStep);
        EXPECT_NEAR(row.drift, expected, (c.noise > 0 ? 0.1 : 1e-9) * std::fabs(expected));
        EXPECT_TRUE(row.drifting);
        // The automatic window of a line keeps moving: it never settles.
        EXPECT_TRUE(summarize(s, {}).notSettled);
    }
}

TEST(VariableStatsTest, CauchyValueByHand) {
    const StepSeries s = series(4, [](size_t i) { return std::vector<double>{1, 2, 4, 3}[i]; });
    struct Case {
        size_t steps;
        double expected;
    };
    // |2-1|/2, |4-2|/4, |3-4|/3; a value near zero is divided by 0.1.
    for (const Case c : {Case{3, (0.5 + 0.5 + 1 / 3.0) / 3}, Case{2, (0.5 + 1 / 3.0) / 2},
                         Case{100, (0.5 + 0.5 + 1 / 3.0) / 3}}) {
        StatsOptions options = fixedWindow(4);
        options.cauchySteps = c.steps;
        EXPECT_NEAR(*summarize(s, options).cauchy, c.expected, 1e-12) << c.steps;
    }
    EXPECT_NEAR(*cauchyValue(std::vector<double>{0.0, 0.05}.data(), 2, 1), 0.5, 1e-12);
    EXPECT_FALSE(cauchyValue(s.values.data(), 1, 10));
}

TEST(VariableStatsTest, ShortAndDegenerateSeries) {
    EXPECT_EQ(summarize({}, {}).count, 0u);
    const VariableStats one = summarize(series(1, [](size_t) { return 2.0; }), {});
    EXPECT_EQ(one.count, 1u);
    EXPECT_EQ(one.mean, 2);
    EXPECT_TRUE(std::isnan(one.stdError));
    const VariableStats flat = summarize(series(500, [](size_t) { return 2.0; }), {});
    EXPECT_EQ(flat.stdDev, 0);
    EXPECT_EQ(flat.stdError, 0);
    EXPECT_EQ(flat.note(), "");
    Ar1 noise(0.9, 3);
    EXPECT_EQ(summarize(series(200, noise), fixedWindow(200)).note(), "too-short");
}

}  // namespace
}  // namespace stats
