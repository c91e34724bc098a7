#include "stats/Autocovariance.h"

#include <complex>
#include <kissfft/kissfft.hh>

namespace stats {

Autocovariance::Autocovariance(const double* x, size_t n) : centred_(x, x + n) {
    double sum = 0;
    for (double value : centred_) sum += value;
    mean_ = n > 0 ? sum / static_cast<double>(n) : 0;
    for (double& value : centred_) value -= mean_;
}

double Autocovariance::at(size_t lag) {
    if (!all_.empty()) return all_[lag];
    if (lag <= kDirectLags) return direct(lag);
    computeAllByFft();
    return all_[lag];
}

const std::vector<double>& Autocovariance::all() {
    if (all_.empty() && !centred_.empty()) computeAllByFft();
    return all_;
}

// Four partial sums, so that the loop need not wait on one accumulator.
double Autocovariance::direct(size_t lag) const {
    const size_t n = centred_.size(), terms = n - lag;
    const double* a = centred_.data();
    const double* b = a + lag;
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    size_t i = 0;
    for (; i + 4 <= terms; i += 4) {
        s0 += a[i] * b[i];
        s1 += a[i + 1] * b[i + 1];
        s2 += a[i + 2] * b[i + 2];
        s3 += a[i + 3] * b[i + 3];
    }
    for (; i < terms; ++i) s0 += a[i] * b[i];
    return (s0 + s1 + s2 + s3) / static_cast<double>(n);
}

// Wiener-Khinchin: with x zero-padded to L >= 2n, c(t) is the inverse
// transform of |X|^2 divided by n. |X|^2 is real and even, so its inverse
// transform is its forward one divided by L: two real transforms of L points.
void Autocovariance::computeAllByFft() {
    using Complex = std::complex<double>;
    const size_t n = centred_.size();
    size_t length = 2;
    while (length < 2 * n) length *= 2;
    const size_t half = length / 2;
    const kissfft<double> transform(half, false);

    std::vector<double> signal(length, 0.0);
    std::copy(centred_.begin(), centred_.end(), signal.begin());
    std::vector<Complex> spectrum(half);
    transform.transform_real(signal.data(), spectrum.data());

    // The power at bins 0..L/2 (bin 0 and bin L/2 are packed in spectrum[0]),
    // mirrored to L points.
    std::vector<double> power(length);
    power[0] = spectrum[0].real() * spectrum[0].real();
    power[half] = spectrum[0].imag() * spectrum[0].imag();
    for (size_t k = 1; k < half; ++k) power[k] = power[length - k] = std::norm(spectrum[k]);
    transform.transform_real(power.data(), spectrum.data());

    all_.resize(n);
    const double scale = 1.0 / (static_cast<double>(length) * static_cast<double>(n));
    all_[0] = spectrum[0].real() * scale;
    for (size_t lag = 1; lag < n; ++lag) all_[lag] = spectrum[lag].real() * scale;
}

}  // namespace stats
