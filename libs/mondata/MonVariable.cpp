#include "libs/mondata/MonVariable.h"

#include "libs/mondata/MonDatabase.h"
#include "libs/mondata/VariableLabels.h"

MonVariable::MonVariable(const QString& name, const MonDatabase* database)
    : name_(name), database_(database) {
    label_ = mon::preferredLabelOf(declaredInfo(), name_);
}

MonVariable::~MonVariable() = default;

const mon::VariableInfo* MonVariable::declaredInfo() const {
    return database_ ? database_->variableInfo(name_) : nullptr;
}

QString MonVariable::getAttribute(const QString& key) const {
    const mon::VariableInfo* declared = declaredInfo();
    return declared ? declared->attribute(key) : QString();
}

QString MonVariable::getTreeName(const bool& useLabels) const {
    return useLabels ? label_ : name_;
}

std::vector<QString> MonVariable::getTreePath(const bool& useLabels) const {
    return mon::treePathOf(declaredInfo(), getTreeName(useLabels));
}
