#pragma once
// Describes every variable of the run in the -varinfo document: gathers the
// name, display name, tree name and tree path of each variable, in database
// order, and writes the document followed by one line end.

#include <ostream>

class MonDatabase;

namespace owl {

class VarInfoGenerator {
  public:
    // The database is not owned; with a null database nothing is written.
    explicit VarInfoGenerator(MonDatabase* database);
    virtual ~VarInfoGenerator();

    void outputVarData(std::ostream& out);

  private:
    MonDatabase* database;
};

}  // namespace owl
