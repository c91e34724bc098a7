#pragma once

#include <ostream>

class MonDatabase;

namespace owl {

// Describes every variable of the run in the -varinfo document.
class VarInfoGenerator {
public:
    explicit VarInfoGenerator(MonDatabase* database);
    virtual ~VarInfoGenerator();
    void outputVarData(std::ostream& out);

private:
    MonDatabase* database;
};

}  // namespace owl
