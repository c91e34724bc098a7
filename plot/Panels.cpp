#include "plot/Panels.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace plot {

namespace {
constexpr size_t kMostPanels = 4;
constexpr double kMagnitudeRatio = 30;
constexpr double kTransientWidth = 4;
// A history shorter than this has no start-up transient to leave out.
constexpr size_t kShortestTransient = 20;
// Value spans, relative to their magnitude: below kFlat a line is flat to
// round-off; below kNarrowest, tick labels would need more than six
// significant digits.
constexpr double kFlat = 1e-5;
constexpr double kNarrowest = 1e-4;

using Indices = std::vector<size_t>;
using Groups = std::vector<Indices>;

// A plot line with its lines of every run.
struct Quantity {
    Indices lines;
    std::string units;
    double magnitude = 0;  // the largest settled magnitude of its lines
    bool valued = false;   // any of its lines has a value
};

double magnitudeOf(const LineStats& stats) {
    const Range& range = stats.settled.empty() ? stats.whole : stats.settled;
    return range.empty() ? 0 : std::max(std::fabs(range.low), std::fabs(range.high));
}

Indices allOf(size_t count) {
    Indices all(count);
    for (size_t i = 0; i < count; ++i) all[i] = i;
    return all;
}

std::vector<Quantity> quantitiesOf(const Figure& figure, const std::vector<LinePlan>& plans,
                                   const Indices& lines) {
    std::vector<Quantity> quantities;
    std::map<size_t, size_t> at;  // FigureLine::quantity -> position
    for (size_t line : lines) {
        const auto [it, added] = at.emplace(figure.lines[line].quantity, quantities.size());
        if (added) quantities.push_back({{}, figure.lines[line].units, 0, false});
        Quantity& quantity = quantities[it->second];
        quantity.lines.push_back(line);
        quantity.magnitude = std::max(quantity.magnitude, magnitudeOf(plans[line].stats));
        quantity.valued = quantity.valued || !plans[line].stats.whole.empty();
    }
    return quantities;
}

// Quantities by units when more than one unit is declared, else all.
Groups byUnits(const std::vector<Quantity>& quantities) {
    std::vector<std::string> units;
    Groups groups;
    for (size_t q = 0; q < quantities.size(); ++q) {
        const auto at = std::find(units.begin(), units.end(), quantities[q].units);
        if (at == units.end()) {
            units.push_back(quantities[q].units);
            groups.push_back({q});
        } else {
            groups[static_cast<size_t>(at - units.begin())].push_back(q);
        }
    }
    const bool mixed = std::count_if(units.begin(), units.end(),
                                     [](const std::string& u) { return !u.empty(); }) > 1;
    return mixed ? groups : Groups{allOf(quantities.size())};
}

Indices linesOf(const Indices& group, const std::vector<Quantity>& quantities) {
    Indices lines;
    for (size_t q : group)
        lines.insert(lines.end(), quantities[q].lines.begin(), quantities[q].lines.end());
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool countsOnly(const Figure& figure, const Indices& lines) {
    return !lines.empty() && std::all_of(lines.begin(), lines.end(), [&figure](size_t line) {
        return figure.lines[line].iterations;
    });
}

// Iteration counts are read from zero, start-up included.
Range valuesOf(const Figure& figure, const Indices& lines, const std::vector<LinePlan>& plans,
               bool logarithmic) {
    Range whole, settled;
    if (!logarithmic && countsOnly(figure, lines)) whole.add(0.0);
    size_t longest = 0;
    for (size_t line : lines) {
        whole.add(plans[line].stats.whole), settled.add(plans[line].stats.settled);
        longest = std::max(longest, plans[line].stats.valued);
    }
    const bool transient = !logarithmic && !figure.wholeRange && !settled.empty() &&
                           !countsOnly(figure, lines) && longest >= kShortestTransient &&
                           whole.span() > kTransientWidth * settled.span();
    return transient ? settled : whole;
}

// Whether the range, widened to hold zero, is at most twice as wide.
bool nearZero(const Range& range) {
    return !range.empty() && range.low - range.span() <= 0 && range.high + range.span() >= 0;
}

// Splits a group of quantities where the next larger magnitude is more than
// a factor of kMagnitudeRatio above the one before. Quantities at zero join
// the smallest part whose range is near zero (nearZero), or form a part of
// their own; those without any value join the first part.
Groups byMagnitude(const Figure& figure, const std::vector<LinePlan>& plans, const Indices& group,
                   const std::vector<Quantity>& quantities) {
    Indices sized, zero, valueless;
    for (size_t q : group)
        (quantities[q].magnitude > 0 ? sized
         : quantities[q].valued      ? zero
                                     : valueless)
            .push_back(q);
    std::sort(sized.begin(), sized.end(), [&quantities](size_t a, size_t b) {
        return quantities[a].magnitude < quantities[b].magnitude;
    });
    Groups parts;
    for (size_t k = 0; k < sized.size(); ++k) {
        if (k == 0 ||
            quantities[sized[k]].magnitude > kMagnitudeRatio * quantities[sized[k - 1]].magnitude)
            parts.emplace_back();
        parts.back().push_back(sized[k]);
    }
    if (!zero.empty()) {
        const auto withZero = std::find_if(parts.begin(), parts.end(), [&](const Indices& part) {
            return nearZero(valuesOf(figure, linesOf(part, quantities), plans, false));
        });
        if (withZero == parts.end())
            parts.insert(parts.begin(), zero);
        else
            withZero->insert(withZero->end(), zero.begin(), zero.end());
    }
    if (parts.empty()) parts.emplace_back();
    parts.front().insert(parts.front().end(), valueless.begin(), valueless.end());
    return parts;
}

// The linear lines in groups, one per panel, each ascending, in the order
// of their first lines.
Groups linearGroups(const Figure& figure, const std::vector<LinePlan>& plans, const Indices& lines,
                    size_t mostPanels) {
    if (lines.empty()) return {};
    const std::vector<Quantity> quantities = quantitiesOf(figure, plans, lines);
    const Groups units = byUnits(quantities);
    Groups groups;
    for (const Indices& group : units)
        for (Indices& part : byMagnitude(figure, plans, group, quantities))
            if (!part.empty()) groups.push_back(std::move(part));
    if (groups.size() > mostPanels) groups = units;
    if (groups.size() > mostPanels) groups = {allOf(quantities.size())};
    Groups lineGroups;
    for (const Indices& group : groups) lineGroups.push_back(linesOf(group, quantities));
    std::sort(lineGroups.begin(), lineGroups.end());
    return lineGroups;
}

// A linear range that tick labels of at most six significant digits can
// tell apart: flat to round-off, a constant; else at least kNarrowest of
// its magnitude wide.
Range readable(Range range) {
    const double magnitude = std::max(std::fabs(range.low), std::fabs(range.high));
    const double middle = (range.low + range.high) / 2;
    if (range.span() <= kFlat * magnitude) {
        range.low = range.high = middle;
    } else if (range.span() < kNarrowest * magnitude) {
        range.low = middle - kNarrowest * magnitude / 2;
        range.high = middle + kNarrowest * magnitude / 2;
    }
    return range;
}

Axis valueAxis(const Range& values, bool logarithmic, bool counts) {
    if (values.empty()) {
        Axis axis;
        axis.logarithmic = logarithmic;
        if (logarithmic) axis.low = 0.1, axis.high = 1;
        return axis;
    }
    if (logarithmic) return logarithmicAxis(values.low, values.high, true);
    Axis axis = linearAxis(values.low, values.high, true, counts ? 1 : 0);
    // The room below a count of zero is no count: its tick goes unlabelled.
    if (counts)
        for (Tick& tick : axis.ticks)
            if (tick.value < 0) tick.label.clear();
    return axis;
}

Panel panelOf(const Figure& figure, Indices lines, std::vector<LinePlan>& plans, bool logarithmic) {
    Panel panel;
    panel.logarithmic = logarithmic;
    panel.values = valuesOf(figure, lines, plans, logarithmic);
    if (!logarithmic && !panel.values.empty()) panel.values = readable(panel.values);
    panel.axis = valueAxis(panel.values, logarithmic, countsOnly(figure, lines));
    panel.yTitle = valueTitle(figure, lines, panel.values, logarithmic);
    for (size_t line : lines) {
        const Range& whole = plans[line].stats.whole;
        plans[line].clipped =
            !whole.empty() && (whole.low < panel.axis.low || whole.high > panel.axis.high);
    }
    panel.lines = std::move(lines);
    return panel;
}

// The quantity a unit measures, for the axis title.
std::string quantityOfUnits(const std::string& units) {
    static const std::map<std::string, std::string> kQuantities = {
        {"N", "Force"},           {"N m", "Moment"},
        {"N.m", "Moment"},        {"Nm", "Moment"},
        {"Pa", "Pressure"},       {"kPa", "Pressure"},
        {"bar", "Pressure"},      {"s", "Time"},
        {"K", "Temperature"},     {"W", "Power"},
        {"W/m^2", "Heat Flux"},   {"W m^-2", "Heat Flux"},
        {"m/s", "Velocity"},      {"m s^-1", "Velocity"},
        {"kg/s", "Mass Flow"},    {"kg s^-1", "Mass Flow"},
        {"m^3/s", "Volume Flow"}, {"m^3 s^-1", "Volume Flow"},
        {"m", "Length"},          {"m^2", "Area"},
        {"kg/m^3", "Density"},    {"kg m^-3", "Density"},
        {"kg", "Mass"},           {"J", "Energy"}};
    const auto it = kQuantities.find(units);
    return it == kQuantities.end() ? "Value" : it->second;
}
}  // namespace

std::string valueTitle(const Figure& figure, const std::vector<size_t>& lines, const Range& values,
                       bool logarithmic) {
    if (lines.empty()) return figure.yTitle;
    const auto all = [&](auto&& predicate) {
        return std::all_of(lines.begin(), lines.end(),
                           [&](size_t i) { return predicate(figure.lines[i]); });
    };
    if (all([](const FigureLine& line) { return line.residual; })) {
        if (!logarithmic && !values.empty() && values.low < 0) return "log10 residual";
        if (logarithmic) return "Residual";
    }
    const std::string& units = figure.lines[lines.front()].units;
    if (!units.empty() && all([&units](const FigureLine& line) { return line.units == units; }))
        return quantityOfUnits(units) + " [" + units + "]";
    if (all([](const FigureLine& line) { return line.iterations; })) return "Iterations";
    return figure.yTitle;
}

std::vector<Panel> panelsOf(const Figure& figure, std::vector<LinePlan>& lines) {
    Indices logarithmic, linear;
    for (size_t i = 0; i < lines.size(); ++i)
        (lines[i].logarithmic ? logarithmic : linear).push_back(i);
    std::vector<Panel> panels;
    if (!logarithmic.empty()) panels.push_back(panelOf(figure, logarithmic, lines, true));
    for (Indices& group :
         linearGroups(figure, lines, linear, kMostPanels - std::min<size_t>(panels.size(), 1)))
        panels.push_back(panelOf(figure, std::move(group), lines, false));
    if (panels.empty()) panels.push_back(panelOf(figure, {}, lines, figure.logarithmicY));
    return panels;
}

}  // namespace plot
