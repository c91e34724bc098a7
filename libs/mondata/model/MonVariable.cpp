#include "libs/mondata/model/MonVariable.h"

#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/VariableLabels.h"

MonVariable::MonVariable(const QString& name, const MonDatabase* database)
    : MonVariable(name, Declared{database ? database->variableInfo(name) : nullptr}) {}

MonVariable::MonVariable(const QString& name, Declared declared)
    : name_(name), label_(mon::preferredLabelOf(declared.info, name)), info_(declared.info) {}

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
