#pragma once
// A monitor variable as the database lists it: its name, its display label
// and its place in the variable tree (see docs/variables.md). A variable made
// with a null database is free-standing: it knows its name alone. A variable
// finds what its run declares about it once, when it is made: it stays valid
// until the database reads other data (MonDatabase::updateData).

#include <QString>
#include <vector>

class MonDatabase;
namespace mon {
struct VariableInfo;
}

class MonVariable {
  public:
    MonVariable(const QString& name, const MonDatabase* database);
    // A variable whose declaration is already at hand (null for a record
    // key): MonDatabase lists its variables without looking each one up.
    struct Declared {
        const mon::VariableInfo* info;
    };
    MonVariable(const QString& name, Declared declared);
    virtual ~MonVariable();

    const QString& getName() const { return name_; }
    // The declared label, else one derived from the name.
    const QString& getPreferredLabel() const { return label_; }
    // true: the preferred label; false: the name.
    QString getTreeName(const bool& useLabels) const;
    // The tree steps, ending with getTreeName(useLabels).
    std::vector<QString> getTreePath(const bool& useLabels) const;

    // A declared attribute (key in lower case), or a null QString. Free-
    // standing variables have none.
    QString getAttribute(const QString& key) const;
    // Everything the run declares about this variable; null for record keys,
    // free-standing variables and names the database does not know.
    const mon::VariableInfo* declaredInfo() const { return info_; }

  private:
    QString name_;
    QString label_;
    const mon::VariableInfo* info_;
};
