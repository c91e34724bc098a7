#pragma once
// Writes the variable information document: a root "Variables" holding one
// "Variable" per record, in list order, with the attributes "Name",
// "DisplayName", "TreeName" and "TreePath" (docs/varinfo.md).

#include <string>
#include <vector>

#include "varinfo/VarInfoRecord.h"

namespace owl {

class VarInfoXML {
  public:
    VarInfoXML();
    virtual ~VarInfoXML();

    // The whole document, without a final line end.
    std::string generateXML(const std::vector<VarInfoRecord>& records);
};

}  // namespace owl
