#pragma once
// monplot -serve [ADDRESS:]PORT: serves a live dashboard of the runs given
// (-res, -dir, -mon, -study) until SIGINT or SIGTERM. Prints one line, the
// address with its token and how to reach it through an SSH tunnel; the
// token is never printed again. Every -poll seconds the sources are looked
// at with stat, changed runs read again and the pages told by server-sent
// events; -study patterns are globbed again, so new runs appear.

#include <string>

#include "monplot/PlotOptions.h"

namespace serve {

// Throws owl::Error for a bad address or criteria, a port that cannot be
// bound, or a missing template or page.
void runDashboard(const PlotOptions& options, const std::string& orbDataDir);

}  // namespace serve
