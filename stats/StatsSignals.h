#pragma once
// Seeded test signals whose statistics are known, for the known-answer tests
// of stats/ (and of the commands built on it).

#include <cmath>
#include <cstdint>
#include <random>

#include "stats/StepSeries.h"

namespace stats::signals {

// Steps 1..n; value(i) for i in 0..n-1.
template <typename Value>
StepSeries series(size_t n, Value value, int32_t stepSpacing = 1) {
    StepSeries s;
    for (size_t i = 0; i < n; ++i) {
        s.steps.push_back(static_cast<int32_t>(1 + i * stepSpacing));
        s.values.push_back(value(i));
    }
    return s;
}

// A stationary AR(1) process x_t = phi x_{t-1} + e_t of unit variance about
// mean, started in its stationary distribution. Its integrated
// autocorrelation time is (1 + phi) / (1 - phi).
class Ar1 {
  public:
    Ar1(double phi, uint64_t seed, double mean = 0)
        : phi_(phi), mean_(mean), innovation_(std::sqrt(1 - phi * phi)), random_(seed) {
        state_ = normal_(random_);
    }
    double operator()(size_t) {
        const double value = mean_ + state_;
        state_ = phi_ * state_ + innovation_ * normal_(random_);
        return value;
    }

  private:
    double phi_, mean_, innovation_, state_ = 0;
    std::mt19937_64 random_;
    std::normal_distribution<double> normal_;
};

}  // namespace stats::signals
