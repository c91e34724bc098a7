#include "libs/mondata/MonVariable.h"

#include "libs/mondata/MonDatabase.h"
#include "libs/mondata/VariableLabels.h"

MonVariable::MonVariable(const QString& name, const MonDatabase* database)
    : MonVariable(name, database, database ? database->variableInfo(name) : nullptr) {}

MonVariable::MonVariable(const QString& name, const MonDatabase* /*database*/,
                         const mon::VariableInfo* info)
    : name_(name), label_(mon::preferredLabelOf(info, name)), info_(info) {}

MonVariable::~MonVariable() = default;

QString MonVariable::getAttribute(const QString& key) const {
    return info_ ? info_->attribute(key) : QString();
}

QString MonVariable::getTreeName(const bool& useLabels) const {
    return useLabels ? label_ : name_;
}

std::vector<QString> MonVariable::getTreePath(const bool& useLabels) const {
    return mon::treePathOf(info_, getTreeName(useLabels));
}
