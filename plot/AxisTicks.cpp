#include "plot/AxisTicks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace plot {

namespace {
const int kTargetTicks = 6;
const int kMostDecadeLabels = 8;
const int kMostDecadesWithMinorTicks = 6;
const int kFewestLogLabels = 3;
// Values come from floats: 1e-5f is a little below 1e-5, yet it belongs to
// the 10⁻⁵ decade, not to the one below.
const double kFloatSlack = 1e-6;
const double kMargin = 0.04;
const double kLogMargin = 1.2;

double niceStep(double range) {
    const double rough = range / kTargetTicks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    const double normal = rough / magnitude;
    const double factor = normal < 1.5 ? 1 : normal < 3 ? 2 : normal < 7 ? 5 : 10;
    return factor * magnitude;
}

// A range that is one value grows to a span that can carry ticks.
std::pair<double, double> widened(double low, double high) {
    if (high > low) return {low, high};
    const double half = low == 0 ? 1 : std::fabs(low) * 0.1;
    return {low - half, high + half};
}

std::string trimExponent(std::string text) {
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    const bool negative = exponent[0] == '-';
    exponent.erase(0, exponent.find_first_not_of("+-0"));
    if (exponent.empty()) return mantissa;
    return mantissa + "e" + (negative ? "-" : "") + exponent;
}
int labelCount(const Axis& axis) {
    return static_cast<int>(std::count_if(axis.ticks.begin(), axis.ticks.end(),
                                          [](const Tick& tick) { return !tick.label.empty(); }));
}

// A logarithmic axis of too few decades to read: its 2× and 5× ticks are
// labelled too, and where that is still too few (less than a decade), it
// gets evenly spaced nice ticks instead, every one labelled.
void labelShortLogAxis(Axis& axis) {
    for (Tick& tick : axis.ticks) {
        const int exponent = static_cast<int>(std::floor(std::log10(tick.value) + kFloatSlack));
        const double mantissa = tick.value / std::pow(10.0, exponent);
        if (std::fabs(mantissa - 2) < 1e-6 || std::fabs(mantissa - 5) < 1e-6)
            tick.label = logLabel(tick.value, tick.value), tick.major = true;
    }
    if (labelCount(axis) >= kFewestLogLabels) return;
    const double step = niceStep(axis.high - axis.low);
    axis.ticks.clear();
    for (double k = std::ceil(axis.low / step - kFloatSlack);
         k * step <= axis.high * (1 + kFloatSlack); ++k)
        axis.ticks.push_back({k * step, logLabel(k * step, step)});
}
}  // namespace

std::string logLabel(double value, double step) {
    const int exponent = static_cast<int>(std::floor(std::log10(value) + kFloatSlack));
    const int stepDigits = static_cast<int>(std::floor(std::log10(step) + kFloatSlack));
    char text[40];
    std::snprintf(text, sizeof text, "%.*f", std::max(0, exponent - stepDigits),
                  value / std::pow(10.0, exponent));
    const std::string mantissa = text;
    if (exponent == 0) return mantissa;
    if (mantissa == "1") return decadeLabel(exponent);
    return mantissa + "×" + decadeLabel(exponent);
}

std::string compactNumber(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.2g", value);
    return trimExponent(text);
}

double Axis::fraction(double value) const {
    if (logarithmic) return (std::log10(value) - std::log10(low)) / (std::log10(high / low));
    return (value - low) / (high - low);
}

std::string linearLabel(double value, double step) {
    if (std::fabs(value) < step * 1e-6) return "0";
    const double largest = std::max(std::fabs(value), step);
    char text[40];
    const int stepDigits = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    if (largest >= 1e6 || largest < 1e-4) {
        const int valueDigits = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        std::snprintf(text, sizeof text, "%.*e", std::max(0, valueDigits - stepDigits), value);
        return trimExponent(text);
    }
    std::snprintf(text, sizeof text, "%.*f", std::max(0, -stepDigits), value);
    return text;
}

std::string decadeLabel(int exponent) {
    static const char* const kDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string label = exponent < 0 ? "10⁻" : "10";
    const std::string digits = std::to_string(std::abs(exponent));
    for (char digit : digits) label += kDigits[digit - '0'];
    return label;
}

Axis linearAxis(double dataLow, double dataHigh, bool margin, double smallestStep) {
    auto [low, high] = widened(dataLow, dataHigh);
    const double pad = margin ? (high - low) * kMargin : 0;
    low -= pad, high += pad;
    const double step = std::max(niceStep(high - low), smallestStep);
    Axis axis;
    const double slack = margin ? 0 : kFloatSlack;
    const double first = std::floor(low / step + slack), last = std::ceil(high / step - slack);
    axis.low = first * step;
    axis.high = last * step;
    for (double k = first; k <= last; ++k)
        axis.ticks.push_back({k * step, linearLabel(k * step, step)});
    return axis;
}

Axis logarithmicAxis(double dataLow, double dataHigh, bool margin) {
    if (margin) dataLow /= kLogMargin, dataHigh *= kLogMargin;
    const int first = static_cast<int>(std::floor(std::log10(dataLow) + kFloatSlack));
    int last = static_cast<int>(std::ceil(std::log10(dataHigh) - kFloatSlack));
    if (last <= first) last = first + 1;
    Axis axis;
    axis.logarithmic = true;
    axis.low = std::pow(10.0, first);
    axis.high = std::pow(10.0, last);
    // With a margin the ends may be 2 or 5 times a power of ten, so that data
    // just below a decade does not cost a decade of empty plot.
    if (margin) {
        for (double m : {2.0, 5.0})
            if (m * std::pow(10.0, first) <= dataLow * (1 + kFloatSlack))
                axis.low = m * std::pow(10.0, first);
        for (double m : {5.0, 2.0})
            if (m * std::pow(10.0, last - 1) >= dataHigh * (1 - kFloatSlack))
                axis.high = m * std::pow(10.0, last - 1);
    }
    const int every = (last - first + kMostDecadeLabels - 1) / kMostDecadeLabels;
    const bool minor = last - first <= kMostDecadesWithMinorTicks;
    const auto inside = [&axis](double value) {
        return value >= axis.low * (1 - kFloatSlack) && value <= axis.high * (1 + kFloatSlack);
    };
    int labels = 0;
    for (int decade = first; decade <= last; ++decade) {
        const bool labelled = ((decade % every) + every) % every == 0;
        const double value = std::pow(10.0, decade);
        if (inside(value)) {
            axis.ticks.push_back({value, labelled ? decadeLabel(decade) : ""});
            labels += labelled;
        }
        if (minor && decade < last)
            for (int m = 2; m <= 9; ++m)
                if (inside(m * value)) axis.ticks.push_back({m * value, "", false});
    }
    std::sort(axis.ticks.begin(), axis.ticks.end(),
              [](const Tick& a, const Tick& b) { return a.value < b.value; });
    if (labels < kFewestLogLabels) labelShortLogAxis(axis);
    return axis;
}

}  // namespace plot
