// Variable selection: the -varlist and -varrule settings and prepareData.

#include "export/RunHistoryWriter.h"
#include "libs/exception/Error.h"
#include "libs/mondata/MonVariableRule.h"

RunHistoryWriter& RunHistoryWriter::setVarList(const std::string& listText) {
    varList.clear();
    if (!listText.empty()) varList.push_back(listText);
    return *this;
}

RunHistoryWriter& RunHistoryWriter::setVarRule(const std::string& ruleText) {
    if (!ruleText.empty())
        varRule = std::make_unique<MonVariableRule>(QString::fromLatin1(ruleText.c_str()));
    return *this;
}

void RunHistoryWriter::prepareData(PreparedData&, std::vector<std::string>&,
                                   const std::vector<std::string>&) const {
    throw owl::internal::error("RunHistoryWriter", "outputData",
                               "Variable selection is not available yet.", owl::errorFatal);
}
