#include "stats/Verdict.h"

#include <cmath>
#include <cstdio>

namespace stats {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

// The limit of a test written X or X%: X, or X percent of |base|.
double limitOf(const CriterionTest& test, double base) {
    return test.percent ? test.limit / 100 * std::fabs(base) : test.limit;
}

std::string limitText(const CriterionTest& test) {
    return number(test.limit) + (test.percent ? "%" : "");
}

class TestRun {
  public:
    TestRun(const StepSeries& series, const VariableStats& row)
        : row_(row), window_(series.values.data() + row.windowStart) {}

    // Empty when the test passes, else why it fails.
    std::string failure(const CriterionTest& test) const {
        switch (test.kind) {
            case CriterionTest::Kind::Below:
                if (row_.last <= test.limit) return {};
                return "last value " + number(row_.last) + " above " + number(test.limit);
            case CriterionTest::Kind::Drop:
                if (!row_.orders) return "no ORDERS (not a residual)";
                if (*row_.orders >= test.limit) return {};
                return "dropped " + number(*row_.orders) + " orders (fewer than " +
                       number(test.limit) + ")";
            case CriterionTest::Kind::Cauchy:
                return cauchy(test);
            case CriterionTest::Kind::Stable:
                return stable(test);
            case CriterionTest::Kind::StdError:
                if (row_.stdError <= limitOf(test, row_.mean)) return {};
                return "STDERR " + number(row_.stdError) + " above " + limitText(test);
        }
        return {};
    }

  private:
    std::string tooFew(const CriterionTest& test, size_t needed) const {
        return "only " + std::to_string(row_.count) + " steps in the window, '" + test.text +
               "' needs " + std::to_string(needed);
    }

    std::string cauchy(const CriterionTest& test) const {
        if (row_.count < test.steps + 1) return tooFew(test, test.steps + 1);
        const double value = *cauchyValue(window_, row_.count, test.steps);
        if (value < test.limit) return {};
        return "Cauchy value " + number(value) + " over " + std::to_string(test.steps) +
               " steps not below " + number(test.limit);
    }

    std::string stable(const CriterionTest& test) const {
        if (row_.count < test.steps) return tooFew(test, test.steps);
        double sum = 0;
        for (size_t i = row_.count - test.steps; i < row_.count; ++i) sum += window_[i];
        const double mean = sum / static_cast<double>(test.steps);
        const double change = std::fabs(mean - row_.last);
        if (change <= limitOf(test, mean)) return {};
        return "last value differs from the mean of the last " + std::to_string(test.steps) +
               " steps by " + number(change) + " (more than " + limitText(test) + ")";
    }

    const VariableStats& row_;
    const double* window_;
};

}  // namespace

Verdict evaluate(const std::vector<CriterionTest>& tests, const StepSeries& series,
                 const VariableStats& row) {
    if (row.count == 0) return {false, "no value"};
    const TestRun run(series, row);
    for (const CriterionTest& test : tests) {
        std::string failure = run.failure(test);
        if (!failure.empty()) return {false, std::move(failure)};
    }
    return {};
}

Verdict missingVerdict() {
    return {false, "missing"};
}

}  // namespace stats
