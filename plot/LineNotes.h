#pragma once
// What a line holds that its drawing alone would hide, said in words: the
// first step of a NaN, of +inf and of -inf, and on a logarithmic axis of a
// value that is zero or negative; that values beyond the panel's range were
// clipped (a start-up transient left out of it); that a line of round-off
// is drawn as zero. The legend adds it to the line's name ("p initial
// residual (nan from step 18)", "Cd (clipped: start-up)", "U_z (≈ 0: largest
// |value| 2.7e-28)"); the index page lists the plots whose lines diverged or
// went NaN.

#include <string>

#include "plot/Figure.h"
#include "plot/LinePlan.h"

namespace plot {

// "nan from step 18, +inf from step 20", empty when there is nothing to say.
std::string lineNote(const LineEvents& events, bool logarithmic);
// The name with its notes in parentheses.
std::string legendName(const FigureLine& line, const LinePlan& plan);
// The notes of the lines that diverged or went NaN: "p: nan from step 18;
// U: +inf from step 40", empty when none did.
std::string divergenceNote(const Figure& figure);

}  // namespace plot
