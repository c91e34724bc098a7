#include "libs/mondata/MonVariable.h"

#include "libs/mondata/MonDatabase.h"
#include "libs/mondata/VariableLabels.h"

MonVariable::MonVariable(const QString& name, const MonDatabase* database)
    : name_(name), database_(database) {
    const mon::VariableInfo* declared = info();
    QString label = declared ? declared->attribute(QStringLiteral("label")) : QString();
    label_ = label.isEmpty() ? mon::labelFromName(name_) : label;
}

MonVariable::~MonVariable() = default;

const mon::VariableInfo* MonVariable::info() const {
    return database_ ? database_->variableInfo(name_) : nullptr;
}

QString MonVariable::getAttribute(const QString& key) const {
    const mon::VariableInfo* declared = info();
    return declared ? declared->attribute(key) : QString();
}

QString MonVariable::getTreeName(const bool& useLabels) const {
    return useLabels ? label_ : name_;
}

std::vector<QString> MonVariable::getTreePath(const bool& useLabels) const {
    return mon::treePathOf(info(), useLabels ? label_ : name_);
}
