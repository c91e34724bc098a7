#pragma once
// Axis ranges and their tick marks: linear axes end on nice values (steps of
// 1, 2 or 5 times a power of ten); logarithmic axes span whole decades, with
// labels on the decades and unlabelled minor ticks at 2..9 times each. A
// logarithmic axis carries at least three labels: with fewer decades, its 2×
// and 5× ticks are labelled too, and one spanning less than that gets evenly
// spaced nice ticks, each labelled.

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
// the frame. Ticks are at least smallestStep apart (1 for counts).
Axis linearAxis(double dataLow, double dataHigh, bool margin = false, double smallestStep = 0);
// A logarithmic axis covering [dataLow, dataHigh], both positive.
Axis logarithmicAxis(double dataLow, double dataHigh, bool margin = false);

// A tick value written with the decimals its step needs ("0.25", "1500",
// "2.5e-06" for very small or large values).
std::string linearLabel(double value, double step);
// A tick of a logarithmic axis: "10⁻³", "2×10⁻³", "1.2×10⁻³", plain
// between 1 and 10 ("2.5"); the mantissa has the decimals its step needs.
std::string logLabel(double value, double step);
// A value in two significant digits, for notes: "2.7e-28", "0.0012".
std::string compactNumber(double value);
// A power of ten written with superscript digits ("10⁻³", "10⁰", "10¹²").
std::string decadeLabel(int exponent);

}  // namespace plot
