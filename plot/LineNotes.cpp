#include "plot/LineNotes.h"

#include "plot/AxisTicks.h"

namespace plot {

namespace {
void append(std::string& note, const std::string& text) {
    note += (note.empty() ? "" : ", ") + text;
}

void add(std::string& note, const char* what, int32_t step) {
    if (step != 0) append(note, what + std::string(" from step ") + std::to_string(step));
}
}  // namespace

std::string lineNote(const LineEvents& events, bool logarithmic) {
    std::string note;
    add(note, "nan", events.firstNan);
    add(note, "+inf", events.firstPlusInf);
    add(note, "-inf", events.firstMinusInf);
    if (logarithmic) add(note, "≤ 0", events.firstNonPositive);
    return note;
}

std::string legendName(const FigureLine& line, const LinePlan& plan) {
    std::string note = lineNote(line.events, plan.logarithmic);
    if (plan.clipped) append(note, "clipped: start-up");
    if (plan.roundOff > 0) append(note, "≈ 0: largest |value| " + compactNumber(plan.roundOff));
    return note.empty() ? line.name : line.name + " (" + note + ")";
}

std::string divergenceNote(const Figure& figure) {
    std::string notes;
    for (const FigureLine& line : figure.lines)
        if (line.events.diverged())
            notes += (notes.empty() ? "" : "; ") + line.name + ": " + lineNote(line.events, false);
    return notes;
}

}  // namespace plot
