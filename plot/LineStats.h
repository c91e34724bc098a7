#pragma once
// What the layout needs to know of a line before drawing it, gathered in one
// pass over its values: the X extent of every record with a value (NaN and
// ±inf included), the Y range of its drawable values over the whole history
// and over its settled part (the last 80% of its records), and whether its
// points stand alone between records without a value (a monitor written
// every 100 iterations beside one written every iteration), and its largest
// absolute value, which tells round-off from a signal.

#include <limits>

#include "plot/Figure.h"

namespace plot {

struct Range {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    bool empty() const { return low > high; }
    double span() const { return high - low; }
    void add(double value) {
        if (value < low) low = value;
        if (value > high) high = value;
    }
    void add(const Range& other) {
        if (!other.empty()) add(other.low), add(other.high);
    }
};

struct LineStats {
    Range x;
    Range whole;          // drawable Y values: finite, and positive on a log axis
    Range settled;        // the same over the last 80% of the records
    double largest = 0;   // the largest absolute finite value
    size_t valued = 0;    // records with a value of any kind
    size_t isolated = 0;  // of those, the ones whose neighbouring records have none
    // Most points stand alone: drawn joined over the line's own records,
    // with markers.
    bool sparse() const { return valued > 0 && 2 * isolated > valued; }
};

LineStats statsOf(const FigureLine& line, bool logarithmic);

}  // namespace plot
