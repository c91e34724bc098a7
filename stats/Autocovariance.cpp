#include "stats/Autocovariance.h"

#include <complex>
#include <kissfft/kissfft.hh>
#include <map>
#include <memory>

namespace stats {

namespace {
double sumOf(const double* x, size_t n) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i) sum += x[i];
    return sum;
}

// The thread's transforms by length: their twiddle factors cost as much to
// compute as a transform, and the series' lengths round to few powers of 2.
const kissfft<double>& transformOf(size_t length) {
    thread_local std::map<size_t, std::unique_ptr<kissfft<double>>> transforms;
    std::unique_ptr<kissfft<double>>& transform = transforms[length];
    if (!transform) transform = std::make_unique<kissfft<double>>(length, false);
    return *transform;
}
}  // namespace

Autocovariance::Autocovariance(const double* x, size_t n)
    : Autocovariance(x, n, n > 0 ? sumOf(x, n) / static_cast<double>(n) : 0) {}

Autocovariance::Autocovariance(const double* x, size_t n, double mean)
    : n_(n), mean_(mean), centred_(n) {
    for (size_t i = 0; i < n; ++i) centred_[i] = x[i] - mean;
}

double Autocovariance::at(size_t lag) {
    if (all_) return (*all_)[lag];
    if (lag <= kDirectLags) return direct(lag);
    computeAllByFft();
    return (*all_)[lag];
}

const double* Autocovariance::all() {
    if (!all_) computeAllByFft();
    return all_->data();
}

// Four partial sums, so that the loop need not wait on one accumulator.
double Autocovariance::direct(size_t lag) const {
    const size_t terms = n_ - lag;
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
    return (s0 + s1 + s2 + s3) / static_cast<double>(n_);
}

// Wiener-Khinchin: with x zero-padded to L >= 2n, c(t) is the inverse
// transform of |X|^2 divided by n. |X|^2 is real and even, so its inverse
// transform is its forward one divided by L: two real transforms of L
// points (each a complex one of L/2 points).
void Autocovariance::computeAllByFft() {
    using Complex = std::complex<double>;
    const size_t n = n_;
    all_.emplace(n);
    size_t length = 2;
    while (length < 2 * n) length *= 2;
    const size_t half = length / 2;
    const kissfft<double>& transform = transformOf(half);

    Scratch signal(length), packed(length);  // packed: L/2 complex values
    Complex* spectrum = reinterpret_cast<Complex*>(packed.data());
    std::copy(centred_.data(), centred_.data() + n, signal.data());
    std::fill(signal.data() + n, signal.data() + length, 0.0);
    transform.transform_real(signal.data(), spectrum);

    // The power at bins 0..L/2 (bin 0 and bin L/2 are packed in spectrum[0]),
    // mirrored to L points, in the signal's place.
    double* power = signal.data();
    power[0] = spectrum[0].real() * spectrum[0].real();
    power[half] = spectrum[0].imag() * spectrum[0].imag();
    for (size_t k = 1; k < half; ++k) power[k] = power[length - k] = std::norm(spectrum[k]);
    transform.transform_real(power, spectrum);

    const double scale = 1.0 / (static_cast<double>(length) * static_cast<double>(n));
    (*all_)[0] = spectrum[0].real() * scale;
    for (size_t lag = 1; lag < n; ++lag) (*all_)[lag] = spectrum[lag].real() * scale;
}

}  // namespace stats
