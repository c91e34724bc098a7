#include "plot/Panels.h"

#include <algorithm>
#include <cmath>

namespace plot {

namespace {
constexpr size_t kMostPanels = 4;
constexpr double kMagnitudeRatio = 30;
constexpr double kTransientWidth = 4;
// A history shorter than this has no start-up transient to leave out.
constexpr size_t kShortestTransient = 20;

using Groups = std::vector<std::vector<size_t>>;

double magnitudeOf(const LineStats& stats) {
    const Range& range = stats.settled.empty() ? stats.whole : stats.settled;
    return range.empty() ? 0 : std::max(std::fabs(range.low), std::fabs(range.high));
}

Groups byUnits(const Figure& figure) {
    std::vector<std::string> units;
    Groups groups;
    for (size_t i = 0; i < figure.lines.size(); ++i) {
        const auto at = std::find(units.begin(), units.end(), figure.lines[i].units);
        if (at == units.end()) {
            units.push_back(figure.lines[i].units);
            groups.push_back({i});
        } else {
            groups[static_cast<size_t>(at - units.begin())].push_back(i);
        }
    }
    const bool mixed = std::count_if(units.begin(), units.end(),
                                     [](const std::string& u) { return !u.empty(); }) > 1;
    if (mixed) return groups;
    std::vector<size_t> all(figure.lines.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    return {all};
}

// Splits a group where the next larger magnitude is more than a factor of
// kMagnitudeRatio above the one before; lines without a magnitude join the
// first part.
Groups byMagnitude(const std::vector<size_t>& group, const std::vector<LineStats>& stats) {
    std::vector<size_t> sized, unsized;
    for (size_t line : group) (magnitudeOf(stats[line]) > 0 ? sized : unsized).push_back(line);
    std::sort(sized.begin(), sized.end(), [&stats](size_t a, size_t b) {
        return magnitudeOf(stats[a]) < magnitudeOf(stats[b]);
    });
    Groups parts{unsized};
    for (size_t k = 0; k < sized.size(); ++k) {
        if (k > 0 &&
            magnitudeOf(stats[sized[k]]) > kMagnitudeRatio * magnitudeOf(stats[sized[k - 1]]))
            parts.emplace_back();
        parts.back().push_back(sized[k]);
    }
    return parts;
}

Groups grouped(const Figure& figure, const std::vector<LineStats>& stats) {
    if (figure.logarithmicY || figure.lines.empty()) {
        std::vector<size_t> all(figure.lines.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        return {all};
    }
    const Groups units = byUnits(figure);
    Groups groups;
    for (const std::vector<size_t>& group : units)
        for (std::vector<size_t>& part : byMagnitude(group, stats))
            if (!part.empty()) groups.push_back(std::move(part));
    if (groups.size() > kMostPanels) groups = units;
    if (groups.size() > kMostPanels) groups = {{}};
    if (groups.size() == 1 && groups[0].empty())
        for (size_t i = 0; i < figure.lines.size(); ++i) groups[0].push_back(i);
    for (std::vector<size_t>& group : groups) std::sort(group.begin(), group.end());
    std::sort(groups.begin(), groups.end());
    return groups;
}

Range valuesOf(const Figure& figure, const std::vector<size_t>& lines,
               const std::vector<LineStats>& stats) {
    Range whole, settled;
    size_t longest = 0;
    for (size_t line : lines) {
        whole.add(stats[line].whole), settled.add(stats[line].settled);
        longest = std::max(longest, stats[line].valued);
    }
    const bool transient = !figure.logarithmicY && !figure.wholeRange && !settled.empty() &&
                           longest >= kShortestTransient &&
                           whole.span() > kTransientWidth * settled.span();
    return transient ? settled : whole;
}
}  // namespace

std::string valueTitle(const Figure& figure, const std::vector<size_t>& lines,
                       const Range& values) {
    if (lines.empty()) return figure.yTitle;
    const auto all = [&](auto&& predicate) {
        return std::all_of(lines.begin(), lines.end(),
                           [&](size_t i) { return predicate(figure.lines[i]); });
    };
    if (!figure.logarithmicY && !values.empty() && values.low < 0 &&
        all([](const FigureLine& line) { return line.residual; }))
        return "log10 residual";
    const std::string& units = figure.lines[lines.front()].units;
    if (!units.empty() && all([&units](const FigureLine& line) { return line.units == units; }))
        return (figure.yTitle.empty() ? "" : figure.yTitle + " ") + "[" + units + "]";
    return figure.yTitle;
}

std::vector<Panel> panelsOf(const Figure& figure, const std::vector<LineStats>& stats) {
    std::vector<Panel> panels;
    for (std::vector<size_t>& lines : grouped(figure, stats)) {
        Panel panel;
        panel.values = valuesOf(figure, lines, stats);
        panel.yTitle = valueTitle(figure, lines, panel.values);
        panel.lines = std::move(lines);
        panels.push_back(std::move(panel));
    }
    return panels;
}

}  // namespace plot
