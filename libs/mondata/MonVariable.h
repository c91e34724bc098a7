#pragma once
// A monitor variable as the database lists it: its name, its display label
// and its place in the variable tree. A variable made with a null database is
// free-standing: it knows its name alone.

#include <QString>
#include <vector>

class MonDatabase;
namespace mon {
struct VariableInfo;
}

class MonVariable {
public:
    MonVariable(const QString& name, const MonDatabase* database);
    virtual ~MonVariable();

    const QString& getName() const { return name_; }
    const QString& getPreferredLabel() const { return label_; }
    QString getTreeName(const bool& useLabels) const;
    std::vector<QString> getTreePath(const bool& useLabels) const;

    // A declared attribute (key in lower case), or a null QString. Free-
    // standing variables have none.
    QString getAttribute(const QString& key) const;

private:
    const mon::VariableInfo* info() const;

    QString name_;
    QString label_;
    const MonDatabase* database_;
};
