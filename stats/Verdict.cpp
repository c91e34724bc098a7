#include "stats/Verdict.h"

#include <cmath>
#include <cstdio>
#include <utility>

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

// A measured amount in the test's terms: "0.0021", or with a limit in
// percent "0.27% of |BASE|" (BASE naming what it is a percentage of).
std::string amountText(const CriterionTest& test, double amount, double base,
                       const std::string& baseName) {
    if (!test.percent) return number(amount);
    if (base == 0) return number(amount) + " (" + baseName + " 0)";
    return number(amount / std::fabs(base) * 100) + "% of " + baseName;
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
                if (std::string doubt = windowDoubt(row_); !doubt.empty()) return doubt;
                if (row_.stdError <= limitOf(test, row_.mean)) return {};
                return "STDERR " + amountText(test, row_.stdError, row_.mean, "|MEAN|") +
                       " above " + limitText(test);
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
               " steps by " + amountText(test, change, mean, "that mean") + " (more than " +
               limitText(test) + ")";
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

std::string windowDoubt(const VariableStats& row) {
    std::string text;
    for (auto [flag, words] :
         {std::pair{row.notSettled, "not settled"}, std::pair{row.tooShort, "too short"},
          std::pair{row.drifting, "drifting"}}) {
        if (!flag) continue;
        text += text.empty() ? "window " : ", ";
        text += words;
    }
    return text;
}

}  // namespace stats
