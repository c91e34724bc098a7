// Known answers of the periodic and time-weighted statistics: sines with
// and without noise, trend and start-up, sampled at fixed and at varying
// time steps.

#include "stats/Periodicity.h"

#include <gtest/gtest.h>

#include "stats/StatsSignals.h"
#include "stats/VariableStats.h"

namespace stats {
namespace {

using signals::Ar1;
using signals::series;

constexpr double kPi = 3.14159265358979323846;

// x(i) = level + amplitude sin(2π i / period) over n steps, with a start-up
// that rises linearly from 0 to level over `ramp` steps and a trend.
StepSeries sine(size_t n, double period, double amplitude, double level, size_t ramp = 0,
                double trend = 0) {
    return series(n, [=](size_t i) {
        const double startUp = i < ramp ? double(i) / double(ramp) : 1;
        return level * startUp + amplitude * std::sin(2 * kPi * double(i) / period) +
               trend * double(i);
    });
}

StepSeries withTimes(StepSeries s, double step) {
    for (int32_t value : s.steps) s.times.push_back(step * value);
    return s;
}

// One period of 1 + sin(2π t) sampled at times whose step is 10 times
// smaller on the peaks than in the troughs, as an adaptive time step
// resolves the fast part of a flow: `periods` periods.
StepSeries adaptiveSine(size_t periods) {
    StepSeries s;
    const double smallest = 0.002, largest = 0.02;
    for (double t = 0; t < double(periods);) {
        const double phase = std::sin(2 * kPi * t);
        s.steps.push_back(int32_t(s.steps.size()) + 1);
        s.times.push_back(t);
        s.values.push_back(1 + phase);
        t += smallest + (largest - smallest) * (1 - phase) / 2;
    }
    return s;
}

std::vector<double> steps(const StepSeries& s) {
    return std::vector<double>(s.steps.begin(), s.steps.end());
}

struct PeriodicCase {
    const char* name;
    StepSeries series;
    double period, periodTolerance;
    double mean, meanTolerance;
    double amplitude, amplitudeTolerance;  // relative
    double stdErrorBelow;                  // 0: not checked
    size_t startAtLeast;                   // the start-up the cut must leave
    const char* note;
};

TEST(PeriodicityTest, KnownAnswers) {
    const double a = 0.4;
    const PeriodicCase cases[] = {
        {"sine over 1000.5 periods after a start-up", sine(100050, 100, a, 2, 3000), 100, 0.5, 2,
         1e-3 * a, a, 0.01, 1e-3 * a, 3000, "periodic"},
        {"the same in TIME", withTimes(sine(100050, 100, a, 2, 3000), 0.002), 0.2, 1e-3, 2,
         1e-3 * a, a, 0.01, 1e-3 * a, 3000, "periodic"},
        // Samples 7.3 to a period miss the peaks by up to half a sample.
        {"a period of 7.3 steps", sine(8000, 7.3, a, -1), 7.3, 0.01, -1, 1e-3 * a, a, 0.05, 0, 0,
         "periodic"},
        {"sine on a slow trend", sine(5000, 50, 1, 0, 0, 2e-4), 50, 0.5, 0.75, 0.3, 1, 0.01, 0, 0,
         "not-settled drifting periodic"},
        {"adaptive time step", adaptiveSine(200), 1, 5e-3, 1, 1e-3, 1, 0.01, 1e-3, 0, "periodic"},
    };
    for (const PeriodicCase& c : cases) {
        SCOPED_TRACE(c.name);
        const VariableStats row = summarize(c.series, {});
        ASSERT_TRUE(row.periodic());
        EXPECT_NEAR(*row.period, c.period, c.periodTolerance);
        EXPECT_NEAR(*row.frequency, 1 / *row.period, 1e-12 / *row.period);
        EXPECT_NEAR(row.mean, c.mean, c.meanTolerance);
        EXPECT_NEAR(*row.amplitude, c.amplitude, c.amplitudeTolerance * c.amplitude);
        if (c.stdErrorBelow > 0) {
            EXPECT_LT(row.stdError, c.stdErrorBelow);
        }
        EXPECT_GE(row.windowStart, c.startAtLeast);
        EXPECT_EQ(row.note(), c.note);
        // The window is whole periods, but for the part of a step before its
        // first record.
        const std::vector<double>& axis = c.series.timed() ? c.series.times : steps(c.series);
        double longest = 0;
        for (size_t i = 1; i < axis.size(); ++i) longest = std::max(longest, axis[i] - axis[i - 1]);
        const double span = axis.back() - axis[row.windowStart];
        const double periods = std::ceil(span / *row.period - 1e-9);
        EXPECT_LE(periods * *row.period - span, longest * 1.001);
    }
    // The adaptive run's records, averaged as if equally spaced, lean
    // towards its finely resolved peaks.
    StepSeries records = adaptiveSine(200);
    records.times.clear();
    const VariableStats byRecord = summarize(records, {});
    EXPECT_GT(byRecord.mean - 1, 0.1);
    EXPECT_TRUE(summarize(adaptiveSine(200), {}).timeWeighted);
}

// A sine on AR(1) noise (φ = 0.9): the whole-period mean's interval covers
// the truth about 95% of the time and the period means rarely drift. The
// same series with equally spaced times gives the same row to the last bit,
// and noise without a sine is not periodic.
TEST(PeriodicityTest, NoisySineCoverageAndUniformTimes) {
    const size_t seeds = 300, n = 6000;
    size_t covered = 0, quiet = 0;
    for (uint64_t seed = 0; seed < seeds; ++seed) {
        Ar1 noise(0.9, 500 + seed);
        const StepSeries s = series(
            n, [&](size_t i) { return 3 + std::sin(2 * kPi * double(i) / 100) + 0.5 * noise(i); });
        const VariableStats row = summarize(s, {});
        ASSERT_TRUE(row.periodic()) << seed;
        covered += std::fabs(row.mean - 3) <= 1.96 * row.stdError;
        quiet += !row.drifting;
    }
    EXPECT_GE(double(covered) / seeds, 0.90);
    EXPECT_LE(double(covered) / seeds, 0.98);
    EXPECT_GE(double(quiet) / seeds, 0.95);

    for (uint64_t seed = 0; seed < 20; ++seed) {
        const StepSeries plain = series(4000, Ar1(0.9, 40 + seed, 1.5));
        // Times as a solver writes them in decimal: steps that differ in
        // their last bits.
        const StepSeries timed = withTimes(plain, 0.01);
        const VariableStats a = summarize(plain, {}), b = summarize(timed, {});
        EXPECT_FALSE(a.periodic());
        EXPECT_FALSE(b.timeWeighted);
        for (auto field : {&VariableStats::mean, &VariableStats::stdDev, &VariableStats::stdError,
                           &VariableStats::neff, &VariableStats::drift})
            EXPECT_EQ(a.*field, b.*field);
        EXPECT_EQ(a.windowStart, b.windowStart);
        EXPECT_EQ(a.note(), b.note());
    }
}

}  // namespace
}  // namespace stats
