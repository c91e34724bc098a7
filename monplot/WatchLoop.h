#pragma once
// -watch: redraws whenever the source changes, until SIGINT or SIGTERM. The
// signals only raise a flag, so a drawing in progress ends with complete
// files; a source that cannot be read for a moment (a restart segment being
// created) is reported as a warning and tried again at the next interval.

#include <functional>
#include <string>
#include <vector>

// Makes SIGINT and SIGTERM raise the stop flag instead of ending the
// program; call before the first drawing.
void installStopHandlers();

// Calls redraw whenever the mon::sourceSignature of a source changes (a stat
// of its files), checking every `seconds`. Returns when a stop signal arrives.
void watchAndRedraw(const std::vector<std::string>& sources, double seconds,
                    const std::function<void()>& redraw);
