#include "stats/Orders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Known drops, from the largest value to the last, linear and log10.
TEST(Orders, FromTheLargestValueToTheLast) {
    const double inf = INFINITY, nan = NAN;
    struct Case {
        const char* what;
        std::vector<double> history;
        bool log10Values;
        std::optional<double> orders;
    };
    for (const Case& c : {
             Case{"linear, 5 orders", {1, 1e-2, 1e-4, 1e-5}, false, 5.0},
             Case{"linear, peak after the start", {1e-2, 10, 1e-3, 1e-2}, false, 3.0},
             Case{"linear, risen at the end", {1, 1e-6, 1e-3}, false, 3.0},
             Case{"linear, flat", {0.5, 0.5}, false, 0.0},
             Case{"log10, negative", {-1.5, -8, -13}, true, 11.5},
             Case{"log10, positive (SU2 adjoint)", {4.75, 4.9, 4.2, 3.85}, true, 1.05},
             Case{"log10, all zero", {0, 0, 0}, true, 0.0},
             Case{"log10, an overflow is no level", {inf, 2, -3}, true, 5.0},
             Case{"log10, NaN before is skipped", {nan, 2, -3}, true, 5.0},
             Case{"log10, ends in NaN", {2, nan}, true, nan},
             Case{"log10, ends in inf", {2, inf}, true, -inf},
             Case{"linear, last zero", {1, 0}, false, std::nullopt},
             Case{"linear, all negative", {-1, -2}, false, std::nullopt},
             Case{"nothing finite", {nan, inf}, true, std::nullopt},
             Case{"no history", {}, true, std::nullopt},
         }) {
        const std::optional<double> orders =
            stats::ordersDropped(c.history.data(), c.history.size(), c.log10Values);
        ASSERT_EQ(orders.has_value(), c.orders.has_value()) << c.what;
        if (!orders) continue;
        const bool bothNaN = std::isnan(*orders) && std::isnan(*c.orders);
        EXPECT_TRUE(bothNaN || *orders == *c.orders || std::abs(*orders - *c.orders) < 1e-12)
            << c.what << ": " << *orders;
    }
}

}  // namespace
