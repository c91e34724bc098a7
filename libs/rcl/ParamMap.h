#pragma once
// The parameters of one command-language object: parameter name to value,
// ordered by name. Names compare exactly (case-sensitive).

#include <QString>
#include <map>

using ParamMap = std::map<QString, QString>;
