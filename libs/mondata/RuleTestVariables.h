#pragma once
// Declared variables written inline, for the tests and the fuzz target of
// rules and run metadata: variable("P1", {{"category", "MONITOR"}}).

#include <initializer_list>
#include <utility>

#include "libs/mondata/VariableInfo.h"

namespace mon {

inline VariableInfo variable(
    const char* name, std::initializer_list<std::pair<const char*, const char*>> attributes) {
    VariableInfo info;
    info.name = QString::fromUtf8(name);
    for (const auto& [key, value] : attributes)
        info.attributes.emplace_back(QString::fromUtf8(key), QString::fromUtf8(value));
    return info;
}

}  // namespace mon
