#include "libs/mondata/formats/openfoam/FoamVariables.h"

#include <cstring>

namespace mon {

namespace {
QString text(const std::string& value) {
    return QString::fromUtf8(value.data(), static_cast<int>(value.size()));
}

bool endsWith(const std::string& value, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return value.size() >= n && value.compare(value.size() - n, n, suffix) == 0;
}

bool startsWith(const std::string& value, const char* prefix) {
    return value.compare(0, std::strlen(prefix), prefix) == 0;
}

// Files that are a function object's one data file: their name adds nothing.
bool isSoleDataFile(const FoamOrigin& origin) {
    static const char* const kSole[] = {"residuals",         "solverInfo",   "forceCoeffs",
                                        "coefficient",       "forces",       "fieldMinMax",
                                        "surfaceFieldValue", "volFieldValue"};
    if (origin.probes) return false;
    if (origin.file == origin.functionObject) return true;
    for (const char* sole : kSole)
        if (origin.file == sole) return true;
    return false;
}

// The residual plots of the workspace template are per equation group.
std::string equationGroup(std::string field) {
    static const char* const kMomentum[] = {"p", "p_rgh", "pd", "rho", "U", "Phi", "pcorr"};
    static const char* const kTurbulence[] = {"k",       "epsilon", "omega",    "nut",
                                              "nuTilda", "v2",      "f",        "kl",
                                              "kt",      "R",       "ReThetat", "gammaInt"};
    static const char* const kHeat[] = {"T", "h", "e", "he", "Ts"};
    if (startsWith(field, "alpha")) return "Volume Fractions";
    for (int pass = 0; pass < 2; ++pass) {
        for (const char* name : kMomentum)
            if (field == name) return "Momentum and Mass";
        for (const char* name : kTurbulence)
            if (field == name) return "Turbulence Quantities";
        for (const char* name : kHeat)
            if (field == name) return "Heat Transfer";
        if (field.size() < 2 || std::strchr("xyz", field.back()) == nullptr) break;
        field.pop_back();  // a component: "Ux", "Rxy"
        if (!field.empty() && std::strchr("xyz", field.back()) && field.size() > 1)
            field.pop_back();
    }
    return std::string();
}

struct Kind {
    const char* category;
    const char* subcategory;
    std::string group;  // empty: the function object's
};

Kind residualKind(const std::string& header) {
    for (const char* suffix : {"_initial", "_final", "_iters"}) {
        if (!endsWith(header, suffix)) continue;
        const std::string field = header.substr(0, header.size() - std::strlen(suffix));
        if (std::strcmp(suffix, "_initial") == 0) return {"RESIDUAL", "RMS", equationGroup(field)};
        if (std::strcmp(suffix, "_final") == 0) return {"RESIDUAL", "FINAL", ""};
        return {"SOLVER", "ITERATIONS", ""};
    }
    return {"RESIDUAL", "RMS", equationGroup(header)};
}

Kind kindOf(const FoamOrigin& origin, const FoamColumn& column) {
    const std::string& file = origin.file;
    if (origin.probes) return {"MONITOR", "POINT", ""};
    if (file == "residuals" || file == "solverInfo") return residualKind(column.header);
    if (file == "forceCoeffs" || file == "coefficient" || startsWith(file, "forceCoeffs"))
        return {"FORCE", "COEFFICIENT", ""};
    if (file == "moment" || (file == "forces" && startsWith(column.header, "moment")))
        return {"FORCE", "MOMENT", ""};
    if (file == "force" || file == "forces") return {"FORCE", "FORCE", ""};
    if (file == "fieldMinMax") return {"MONITOR", "MINMAX", ""};
    if (file == "surfaceFieldValue") return {"MONITOR", "SURFACE", ""};
    if (file == "volFieldValue") return {"MONITOR", "VOLUME", ""};
    return {"MONITOR", "", ""};
}

void add(VariableInfo& info, const char* key, const std::string& value) {
    if (!value.empty()) info.attributes.emplace_back(QString::fromLatin1(key), text(value));
}
}  // namespace

VariableInfo foamVariable(const FoamOrigin& origin, const FoamColumn& column) {
    const std::string region = origin.regionInName ? origin.region : std::string();
    std::string owner =
        region.empty() ? origin.functionObject : region + " " + origin.functionObject;
    std::string name = owner + " ";
    if (!isSoleDataFile(origin)) name += origin.file + " ";
    name += column.name();
    const Kind kind = kindOf(origin, column);
    VariableInfo info{text(name), {}};
    info.precision = VariableInfo::Precision::Double;  // as the file wrote it
    add(info, "category", kind.category);
    add(info, "subcategory", kind.subcategory);
    add(info, "group", kind.group.empty() ? owner : kind.group);
    add(info, "path",
        region.empty() ? origin.functionObject : region + "/" + origin.functionObject);
    add(info, "function-object", origin.functionObject);
    add(info, "region", origin.region);
    add(info, "file", origin.file);
    add(info, "location", column.location);
    return info;
}

VariableInfo foamTimeVariable() {
    VariableInfo info{QStringLiteral("TIME"), {}};
    add(info, "label", "Simulation Time");
    add(info, "category", "TIME");
    add(info, "subcategory", "TIME");
    add(info, "group", "Time");
    add(info, "path", "Time");
    add(info, "units", "s");
    info.precision = VariableInfo::Precision::Time;
    return info;
}

}  // namespace mon
