#pragma once
// Axis ranges and their tick marks: linear axes end on nice values (steps of
// 1, 2 or 5 times a power of ten); logarithmic axes span whole decades, with
// labels on the decades and unlabelled minor ticks at 2..9 times each.

#include <string>
#include <vector>

namespace plot {

struct Tick {
    double value = 0;
    std::string label;  // may be empty when labels would crowd
    bool major = true;  // minor ticks are shorter and draw no grid line
};

struct Axis {
    double low = 0;
    double high = 1;
    bool logarithmic = false;
    std::vector<Tick> ticks;  // ascending, all within [low, high]

    // Where the value sits between low (0) and high (1); outside for values
    // beyond the range.
    double fraction(double value) const;
};

// An axis covering [dataLow, dataHigh]; an empty range is widened. With a
// margin, both ends lie beyond the data (by at least 4% of its span on a
// linear axis, a factor of 1.2 on a logarithmic one), so no value sits on
// the frame.
Axis linearAxis(double dataLow, double dataHigh, bool margin = false);
// A logarithmic axis covering [dataLow, dataHigh], both positive.
Axis logarithmicAxis(double dataLow, double dataHigh, bool margin = false);

// A tick value written with the decimals its step needs ("0.25", "1500",
// "2.5e-06" for very small or large values).
std::string linearLabel(double value, double step);
// A power of ten written with superscript digits ("10⁻³", "10⁰", "10¹²").
std::string decadeLabel(int exponent);

}  // namespace plot
