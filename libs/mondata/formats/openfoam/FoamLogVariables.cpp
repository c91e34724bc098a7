#include "libs/mondata/formats/openfoam/FoamLogVariables.h"

#include <QString>
#include <initializer_list>
#include <utility>

namespace mon {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<int>(value.size()));
}

QString prefixed(std::string_view region, const QString& name) {
    return region.empty() ? name : text(region) + QLatin1Char(' ') + name;
}

// A log's numbers are held as it wrote them: in double precision.
VariableInfo variable(QString name, std::initializer_list<std::pair<const char*, QString>> attrs) {
    VariableInfo info;
    info.name = std::move(name);
    info.precision = VariableInfo::Precision::Double;
    for (const auto& [key, value] : attrs) info.attributes.emplace_back(QLatin1String(key), value);
    return info;
}

// A region's variable also says its region, for rules ("REGION = air").
VariableInfo inRegion(std::string_view region, VariableInfo info) {
    if (!region.empty()) info.attributes.emplace_back(QStringLiteral("region"), text(region));
    return info;
}

struct FieldGroup {
    std::string_view field;
    const char* group;
};

constexpr const char* kMomentum = "Momentum and Mass";
constexpr const char* kHeat = "Heat Transfer";
constexpr const char* kTurbulence = "Turbulence Quantities";

constexpr FieldGroup kFieldGroups[] = {
    {"U", kMomentum},
    {"p", kMomentum},
    {"p_rgh", kMomentum},
    {"pcorr", kMomentum},
    {"rho", kMomentum},
    {"Phi", kMomentum},
    {"T", kHeat},
    {"h", kHeat},
    {"e", kHeat},
    {"ha", kHeat},
    {"hs", kHeat},
    {"ea", kHeat},
    {"es", kHeat},
    {"k", kTurbulence},
    {"epsilon", kTurbulence},
    {"omega", kTurbulence},
    {"nuTilda", kTurbulence},
    {"R", kTurbulence},
    {"v2", kTurbulence},
    {"f", kTurbulence},
    {"kl", kTurbulence},
    {"kt", kTurbulence},
    {"ReThetat", kTurbulence},
    {"gammaInt", kTurbulence},
};

const char* knownGroup(std::string_view field) {
    for (const FieldGroup& entry : kFieldGroups)
        if (entry.field == field) return entry.group;
    return nullptr;
}

// The field without a vector or tensor component suffix, when that names a
// known field.
const char* groupWithoutComponent(std::string_view field) {
    for (std::string_view component : {"xx", "xy", "xz", "yy", "yz", "zz", "x", "y", "z"}) {
        if (field.size() <= component.size()) continue;
        if (field.substr(field.size() - component.size()) != component) continue;
        if (const char* group = knownGroup(field.substr(0, field.size() - component.size())))
            return group;
    }
    return nullptr;
}

VariableInfo residual(std::string_view region, std::string_view field, const char* which,
                      const char* subcategory, const char* pathStep) {
    const QString group = QLatin1String(equationGroupOf(field));
    return inRegion(
        region, variable(prefixed(region, text(field) + QLatin1String(which)),
                         {{"category", QStringLiteral("RESIDUAL")},
                          {"subcategory", QLatin1String(subcategory)},
                          {"group", group},
                          {"path", QStringLiteral("Residuals/") + group + QLatin1String(pathStep)},
                          {"units", QString(QLatin1String(""))}}));
}

}  // namespace

const char* equationGroupOf(std::string_view field) {
    field = field.substr(0, field.find('.'));  // U.air, alpha.water
    if (field.substr(0, 5) == "alpha") return "Volume Fractions";
    if (const char* group = knownGroup(field)) return group;
    if (const char* group = groupWithoutComponent(field)) return group;
    return "Other Equations";
}

VariableInfo foamTimeVariable(std::string_view unit) {
    VariableInfo info =
        variable(QStringLiteral("TIME"), {{"label", QStringLiteral("Simulation Time")},
                                          {"category", QStringLiteral("TIME")},
                                          {"subcategory", QStringLiteral("TIME")},
                                          {"group", QStringLiteral("Time")},
                                          {"path", QStringLiteral("Time")},
                                          {"units", text(unit)}});
    info.precision = VariableInfo::Precision::Time;
    return info;
}

VariableInfo foamTimeStepVariable(std::string_view unit) {
    return variable(QStringLiteral("deltaT"), {{"category", QStringLiteral("TIME")},
                                               {"subcategory", QStringLiteral("STEP")},
                                               {"group", QStringLiteral("Time")},
                                               {"path", QStringLiteral("Time")},
                                               {"units", text(unit)}});
}

// The initial residual is what OpenFOAM users watch converge: it takes the
// subcategory that the template's residual plots (logarithmic) show.
VariableInfo foamInitialResidual(std::string_view region, std::string_view field) {
    return residual(region, field, " initial residual", "RMS", "/Initial");
}

VariableInfo foamFinalResidual(std::string_view region, std::string_view field) {
    return residual(region, field, " final residual", "FINAL", "/Final");
}

VariableInfo foamSolverIterations(std::string_view region, std::string_view field) {
    return inRegion(region, variable(prefixed(region, text(field) + QLatin1String(" iterations")),
                                     {{"category", QStringLiteral("SOLVER")},
                                      {"subcategory", QStringLiteral("ITERATIONS")},
                                      {"group", QStringLiteral("Linear Solver Iterations")},
                                      {"path", QStringLiteral("Linear Solver Iterations")},
                                      {"units", QString(QLatin1String(""))}}));
}

VariableInfo foamCourantNumber(std::string_view region, std::string_view label,
                               std::string_view which) {
    static const std::string_view kDiffusion = "Diffusion Number";
    const bool diffusion = label.size() >= kDiffusion.size() &&
                           label.substr(label.size() - kDiffusion.size()) == kDiffusion;
    const QString group =
        diffusion ? QStringLiteral("Diffusion Number") : QStringLiteral("Courant Number");
    return inRegion(region, variable(prefixed(region, text(label) + QLatin1Char(' ') + text(which)),
                                     {{"category", QStringLiteral("MONITOR")},
                                      {"subcategory", diffusion ? QStringLiteral("DIFFUSION")
                                                                : QStringLiteral("COURANT")},
                                      {"group", group},
                                      {"path", group},
                                      {"units", QString(QLatin1String(""))}}));
}

VariableInfo foamBounding(std::string_view region, std::string_view field, std::string_view which) {
    return inRegion(region, variable(prefixed(region, QStringLiteral("bounding ") + text(field) +
                                                          QLatin1Char(' ') + text(which)),
                                     {{"category", QStringLiteral("MONITOR")},
                                      {"subcategory", QStringLiteral("BOUNDING")},
                                      {"group", QStringLiteral("Bounding")},
                                      {"path", QStringLiteral("Bounding")},
                                      {"units", QString(QLatin1String(""))}}));
}

VariableInfo foamPatternVariable(const std::string& name, const std::string& category,
                                 const std::string& group) {
    return variable(text(name), {{"category", text(category)},
                                 {"subcategory", QStringLiteral("PATTERN")},
                                 {"group", text(group)},
                                 {"path", text(group)},
                                 {"units", QString(QLatin1String(""))}});
}

VariableInfo foamContinuityError(std::string_view region, std::string_view of,
                                 std::string_view which) {
    const QString name = (of.empty() ? QString() : text(of) + QLatin1Char(' ')) +
                         QStringLiteral("continuity errors ") + text(which);
    return inRegion(
        region, variable(prefixed(region, name), {{"category", QStringLiteral("IMBALANCE")},
                                                  {"subcategory", QStringLiteral("CONTINUITY")},
                                                  {"group", QStringLiteral("Imbalances")},
                                                  {"path", QStringLiteral("Imbalances/Continuity")},
                                                  {"units", QString(QLatin1String(""))}}));
}

VariableInfo foamExecutionTime(std::string_view which) {
    return variable(text(which), {{"category", QStringLiteral("TIME")},
                                  {"subcategory", QStringLiteral("EXECUTION")},
                                  {"group", QStringLiteral("Execution Time")},
                                  {"path", QStringLiteral("Time/Execution")},
                                  {"units", QStringLiteral("s")}});
}

}  // namespace mon
