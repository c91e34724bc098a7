#include "export/StatsSettings.h"

#include <cctype>
#include <cstdlib>

#include "export/ExporterError.h"
#include "libs/exception/MessageText.h"

namespace exporter {

namespace {
// A whole number from 1, or fail naming the option.
size_t positiveSteps(const std::string& text, const char* option, const char* alternatives) {
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 ||
        !std::isdigit(static_cast<unsigned char>(text[0])))
        raise("statsSettings", std::string("Invalid value '") + owl::printable(text) +
                                   "' for option " + option + ": expected " + alternatives + ".");
    return static_cast<size_t>(value);
}
}  // namespace

StatsSettings statsSettings(const std::string& window, const std::string& cauchy,
                            const std::string& converged, const std::string& reference,
                            const std::string& tolerance) {
    StatsSettings settings;
    if (!window.empty() && window != "auto")
        settings.windowSteps =
            positiveSteps(window, "-window", "'auto' or a number of steps from 1");
    if (!cauchy.empty())
        settings.cauchySteps = positiveSteps(cauchy, "-cauchy", "a number of steps from 1");
    if (!converged.empty()) settings.criteria = stats::parseCriteria(converged);
    if (!reference.empty()) settings.references = stats::readReference(reference);
    if (!tolerance.empty()) settings.tolerance = stats::parseTolerance(tolerance);
    return settings;
}

}  // namespace exporter
