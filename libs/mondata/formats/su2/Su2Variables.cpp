#include "libs/mondata/formats/su2/Su2Variables.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace mon {

namespace {
struct Kind {
    const char* category;
    const char* subcategory;
    const char* group;
};

// Residuals are log10 values, often negative (marked scale = log10): their
// groups are none of the template's residual groups, whose plots have a
// logarithmic axis, so each gets a plot of its own on a linear axis.
const Kind kRms{"RESIDUAL", "RMS", "RMS Residuals"};
const Kind kMax{"RESIDUAL", "MAX", "MAX Residuals"};
const Kind kBgs{"RESIDUAL", "BGS", "BGS Residuals"};
const Kind kCoefficient{"FORCE", "COEFFICIENT", "Aerodynamic Coefficients"};
const Kind kSimulationTime{"TIME", "", "Time Domain"};
const Kind kWallTime{"TIME", "WALL", "Wall Time"};
const Kind kOther{"", "", "Other Monitors"};

// Force and moment coefficients, as written since version 7 and before it.
const std::string_view kCoefficients[] = {"CD",         "CL",    "CSF", "CMx",  "CMy",    "CMz",
                                          "CFx",        "CFy",   "CFz", "CEff", "CDrag",  "CLift",
                                          "CSideForce", "CL/CD", "CT",  "CQ",   "CMerit", "Buffet"};

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isCoefficient(std::string_view name) {
    // A per-marker value is written NAME(marker).
    std::string_view base = name.substr(0, name.find('('));
    return std::find(std::begin(kCoefficients), std::end(kCoefficients), base) !=
           std::end(kCoefficients);
}

const Kind& kindOf(std::string_view name) {
    if (startsWith(name, "rms[") || startsWith(name, "Res_")) return kRms;
    if (startsWith(name, "max[")) return kMax;
    if (startsWith(name, "bgs[")) return kBgs;
    if (isCoefficient(name)) return kCoefficient;
    if (name == "Cur_Time" || name == "Time_Step") return kSimulationTime;
    if (name == "Time(sec)" || name == "Time(min)") return kWallTime;
    return kOther;
}

bool isResidualKind(const Kind& kind) {
    return std::string_view(kind.category) == kRms.category;
}

void add(VariableInfo& info, const char* key, const std::string& value) {
    if (!value.empty())
        info.attributes.emplace_back(QString::fromLatin1(key), QString::fromStdString(value));
}
}  // namespace

bool isSu2Residual(const std::string& name) {
    return isResidualKind(kindOf(name));
}

VariableInfo su2Variable(const std::string& name, const std::string& zone) {
    const Kind& kind = kindOf(name);
    const std::string suffix = zone.empty() ? std::string() : " zone " + zone;
    VariableInfo info;
    info.name = QString::fromStdString(name + suffix);
    info.precision = VariableInfo::Precision::Double;  // as the history wrote it
    add(info, "category", kind.category);
    add(info, "subcategory", kind.subcategory);
    add(info, "group", kind.group + suffix);
    add(info, "zone", zone);
    if (isResidualKind(kind)) info.attributes.emplace_back(scaleKey(), log10Scale());
    return info;
}

}  // namespace mon
