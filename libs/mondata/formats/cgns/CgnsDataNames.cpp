#include "libs/mondata/formats/cgns/CgnsDataNames.h"

#include <algorithm>
#include <cctype>

namespace mon {

namespace {
bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool containsAny(const std::string& text, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(),
                       [&](const char* word) { return text.find(word) != std::string::npos; });
}

// Maximum (L-infinity) norms by the suffixes solvers use; other norms (RMS,
// L2, L1) plot as the RMS residuals do.
QString residualNorm(const std::string& lower) {
    if (containsAny(lower, {"max", "linf"}) || endsWith(lower, "_oo") ||
        lower.find("_oo_") != std::string::npos)
        return QStringLiteral("MAX");
    return QStringLiteral("RMS");
}

// The equation group of a residual, as the template's residual plots name them.
// Turbulence comes first: its kinetic energy is no energy equation.
QString residualGroup(const std::string& lower) {
    if (containsAny(lower, {"turb", "kinetic", "dissipation", "omega", "viscosity"}))
        return QStringLiteral("Turbulence Quantities");
    if (containsAny(lower, {"mass", "momentum", "density", "velocity", "pressure"}))
        return QStringLiteral("Momentum and Mass");
    if (containsAny(lower, {"energy", "enthalpy", "temperature"}))
        return QStringLiteral("Heat Transfer");
    if (containsAny(lower, {"volumefraction", "volume_fraction"}))
        return QStringLiteral("Volume Fractions");
    return QStringLiteral("Residuals");
}

CgnsArrayKind forceOrMoment(const std::string& name) {
    if (name.find("Moment") != std::string::npos) return {QStringLiteral("MOMENT"), {}, {}};
    return {QStringLiteral("FORCE"), {}, {}};
}
}  // namespace

CgnsArrayKind kindOfDataName(const std::string& name) {
    const std::string lower = lowered(name);
    if (startsWith(name, "RSD"))
        return {QStringLiteral("RESIDUAL"), residualNorm(lower), residualGroup(lower)};
    if (startsWith(name, "CHG"))
        return {QStringLiteral("CHANGE"), {}, QStringLiteral("Solution Changes")};
    if (startsWith(name, "Coef") || startsWith(name, "Force") || startsWith(name, "Moment") ||
        name == "Lift" || name == "Drag")
        return forceOrMoment(name);
    return {{}, {}, QStringLiteral("Convergence History")};
}

bool isIterationArrayName(const std::string& name) {
    return name == "IterationNumber" || name == "IterationNumbers" || name == "IterationValues";
}

}  // namespace mon
