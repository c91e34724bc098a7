// The -converged criteria, the verdict at each test's boundary, and the
// -reference comparison.

#include "stats/ConvergenceCriteria.h"

#include <gtest/gtest.h>

#include "libs/exception/Error.h"
#include "stats/ReferenceComparison.h"
#include "stats/StatsSignals.h"
#include "stats/Verdict.h"

namespace stats {
namespace {

TEST(ConvergenceCriteriaTest, ParsesRulesAndTests) {
    const auto criteria = parseCriteria(
        "CATEGORY = RESIDUAL : below 1e-4 AND drop 3 ; NAME = \"a;b:c\" : cauchy 50 1e-5 and "
        "stable 200 0.5% and stderr 2%;;");
    ASSERT_EQ(criteria.size(), 2u);
    EXPECT_EQ(criteria[0].ruleText, "CATEGORY = RESIDUAL");
    ASSERT_EQ(criteria[0].tests.size(), 2u);
    EXPECT_EQ(criteria[0].tests[1].kind, CriterionTest::Kind::Drop);
    EXPECT_EQ(criteria[1].ruleText, "NAME = \"a;b:c\"");
    const auto& tests = criteria[1].tests;
    ASSERT_EQ(tests.size(), 3u);
    EXPECT_EQ(tests[1].kind, CriterionTest::Kind::Stable);
    EXPECT_TRUE(tests[1].percent);
    EXPECT_EQ(tests[2].text, "stderr 2%");
}

TEST(ConvergenceCriteriaTest, MalformedCriteriaNameTheirColumn) {
    struct Case {
        const char* text;
        const char* fault;
    };
    for (const Case c : {
             Case{"", "no criterion at column 1"},
             Case{"NAME = CD below 1", "expected ':' between the rule and its tests at column 18"},
             Case{" : below 1", "expected a rule before ':' at column 1"},
             Case{"NAME = (CD : below 1", "the rule starting here is not valid"},
             Case{"NAME = CD :", "expected a test after ':' at column 12"},
             Case{"NAME = CD : below x1", "expected a number after 'below', not 'x1' at column 19"},
             Case{"NAME = CD : below 1%", "not '1%' at column 19"},
             Case{"NAME = CD : cauchy 0 1e-5",
                  "expected a number of steps (a whole number from 1), not '0' at column 20"},
             Case{"NAME = CD : stderr 1 drop 2",
                  "expected 'and' or ';' after a test, not 'drop' at column 22"},
             Case{"NAME = CD : stderr 1 and", "expected a test after 'and' at column 22"},
             Case{"NAME = CD : stable 10 and drop 2",
                  "expected a number after 'stable' at column 22"},
             Case{"NAME = CD : below 1 ; X = 1 : level 3",
                  "unknown test 'level' (below, drop, cauchy, stable or stderr) at column 31"},
         }) {
        try {
            parseCriteria(c.text);
            ADD_FAILURE() << c.text;
        } catch (const owl::Error& error) {
            EXPECT_NE(error.getErrorText().find(c.fault), std::string::npos)
                << c.text << "\n"
                << error.getErrorText();
        }
    }
}

// Each test passes at its boundary and fails just beyond it. The series
// 1..10 (window: all of it, its notes cleared) has last value 10; its last
// 4 values 7..10 have mean 8.5.
TEST(ConvergenceCriteriaTest, EachTestAtItsBoundary) {
    const StepSeries s = signals::series(10, [](size_t i) { return double(i + 1); });
    StatsOptions options;
    options.windowSteps = 10;
    options.residual = true;
    VariableStats row = summarize(s, options);
    EXPECT_EQ(windowDoubt(row), "window too short");
    row.tooShort = false;
    const double cauchy3 = (1 / 8.0 + 1 / 9.0 + 1 / 10.0) / 3;
    auto text = [](double value) {
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
        return std::string(buffer);
    };
    struct Case {
        std::string test;
        bool met;
        const char* reason;
    };
    const std::string stderrLimit = text(row.stdError);
    const std::string stderrPercent = text(row.stdError / row.mean * 100);
    const std::string drop = text(*row.orders);
    for (const Case& c : {
             Case{"below 10", true, ""},
             Case{"below 9.999", false, "last value 10 above 9.999"},
             Case{"drop " + drop, true, ""},
             Case{"drop " + text(*row.orders + 1e-12), false, "orders (fewer than"},
             Case{"cauchy 3 " + text(cauchy3 * (1 + 1e-12)), true, ""},
             Case{"cauchy 3 " + text(cauchy3), false,
                  "Cauchy value 0.112037 over 3 steps not below"},
             Case{"cauchy 10 1", false, "only 10 steps in the window, 'cauchy 10 1' needs 11"},
             Case{"stable 4 1.5", true, ""},
             Case{"stable 4 1.49", false, "mean of the last 4 steps by 1.5 (more than 1.49)"},
             Case{"stable 4 " + text(1.5 / 8.5 * 100 * (1 + 1e-12)) + "%", true, ""},
             Case{"stable 4 17.6%", false, "by 17.6471% of that mean (more than 17.6%)"},
             Case{"stable 11 100", false, "needs 11"},
             Case{"stderr " + stderrLimit, true, ""},
             Case{"stderr " + text(row.stdError * (1 - 1e-12)), false, "STDERR"},
             Case{"stderr " + stderrPercent + "%", true, ""},
             Case{"stderr 1e-9%", false, "% of |MEAN| above 1e-09%"},
             Case{"below 10 and stable 4 1 and drop 100", false, "(more than 1)"},
         }) {
        const Verdict verdict = evaluate(parseCriteria("NAME = X : " + c.test)[0].tests, s, row);
        EXPECT_EQ(verdict.met, c.met) << c.test << ": " << verdict.reason;
        EXPECT_NE(verdict.reason.find(c.reason), std::string::npos)
            << c.test << ": " << verdict.reason;
        EXPECT_EQ(verdict.reason.empty(), c.met);
    }
    // A doubted window fails the tests that rely on its mean and STDERR.
    VariableStats doubted = row;
    doubted.notSettled = doubted.drifting = true;
    EXPECT_EQ(evaluate(parseCriteria("NAME = X : stderr 1e9")[0].tests, s, doubted).reason,
              "window not settled, drifting");
    EXPECT_TRUE(
        evaluate(parseCriteria("NAME = X : below 10 and stable 4 1.5")[0].tests, s, doubted).met);
    StatsOptions plain = options;
    plain.residual = false;
    EXPECT_EQ(evaluate(parseCriteria("NAME = X : drop 1")[0].tests, s, summarize(s, plain)).reason,
              "no ORDERS (not a residual)");
}

TEST(ConvergenceCriteriaTest, ReferenceWithAndWithoutSamplingError) {
    struct Case {
        const char* tolerance;
        double mean, stdError, reference;
        bool met;
    };
    for (const Case c : {
             Case{"", 1.0 + 1e-6, NAN, 1.0, true},          // rtol 1e-6 by default
             Case{"", 1.0 + 3e-6 + 1e-6, 1e-6, 1.0, true},  // k = 3 by default
             Case{" rtol=0.1\tk=0 ", 9.0, 0.1, 10.0, true},
         }) {
        const Comparison comparison =
            compare(c.mean, c.stdError, c.reference, parseTolerance(c.tolerance));
        EXPECT_EQ(comparison.verdict.met, c.met) << c.tolerance << " " << c.mean;
        EXPECT_DOUBLE_EQ(comparison.difference, c.mean - c.reference);
    }
    for (const char* bad : {"atol", "tol=1", "k=-1", "rtol=x"})
        EXPECT_THROW(parseTolerance(bad), owl::Error) << bad;
}

}  // namespace
}  // namespace stats
