#include "plot/LinePlan.h"

#include <algorithm>
#include <map>
#include <string>

namespace plot {

namespace {
// Below this share of the largest magnitude of its units, a line is
// round-off: float and double arithmetic leave 1e-16 relative.
constexpr double kRoundOff = 1e-12;

void markRoundOff(const Figure& figure, std::vector<LinePlan>& plans) {
    std::map<std::string, double> largest;  // by units, over the linear lines
    for (size_t i = 0; i < plans.size(); ++i)
        if (!plans[i].logarithmic) {
            double& most = largest[figure.lines[i].units];
            most = std::max(most, plans[i].stats.largest);
        }
    for (size_t i = 0; i < plans.size(); ++i) {
        LinePlan& plan = plans[i];
        if (plan.logarithmic || plan.stats.largest == 0 ||
            plan.stats.largest >= kRoundOff * largest[figure.lines[i].units])
            continue;
        plan.roundOff = plan.stats.largest;
        plan.stats.whole = plan.stats.settled = Range{};
        plan.stats.whole.add(0.0), plan.stats.settled.add(0.0);
    }
}
}  // namespace

bool drawnLogarithmic(const Figure& figure, const FigureLine& line) {
    if (figure.fixedScale) return figure.logarithmicY;
    if (line.iterations) return false;
    if (figure.logarithmicY) return true;
    return line.residual && line.events.firstNegative == 0 && line.events.firstMinusInf == 0;
}

std::vector<LinePlan> linePlans(const Figure& figure) {
    std::vector<LinePlan> plans;
    for (const FigureLine& line : figure.lines) {
        LinePlan plan;
        plan.logarithmic = drawnLogarithmic(figure, line);
        plan.stats = statsOf(line, plan.logarithmic);
        plans.push_back(plan);
    }
    markRoundOff(figure, plans);
    return plans;
}

}  // namespace plot
