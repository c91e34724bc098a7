#pragma once
// Autocovariances of a series about its mean, c(t) = 1/n Σ_{i<n-t}
// (x_i - x̄)(x_{i+t} - x̄): lag by lag for the first few lags, all at once by
// FFT (n log n) when many lags are needed.

#include <cstddef>
#include <optional>

#include "stats/Scratch.h"

namespace stats {

class Autocovariance {
  public:
    // Keeps the centred copy of x[0..n).
    Autocovariance(const double* x, size_t n);
    // The same with the values' mean, summed in order, already at hand.
    Autocovariance(const double* x, size_t n, double mean);

    size_t size() const { return n_; }
    double mean() const { return mean_; }
    // c(lag) for 0 <= lag < size(). Lags computed one at a time cost n each;
    // the first lag beyond kDirectLags computes every lag by FFT.
    double at(size_t lag);
    // c(lag) for every lag, by FFT.
    const double* all();

    static constexpr size_t kDirectLags = 64;

  private:
    double direct(size_t lag) const;
    void computeAllByFft();

    size_t n_;
    double mean_ = 0;
    Scratch centred_;
    std::optional<Scratch> all_;  // every lag, once computed by FFT
};

}  // namespace stats
