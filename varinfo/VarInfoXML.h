#pragma once
// Writes the variable information document: a root "Variables" holding one
// "Variable" per record, in the order given, with the attributes "Name",
// "DisplayName", "TreeName" and "TreePath", then "Scale" only where the record
// has one (docs/varinfo.md). The document is streamed: one variable at a
// time, however many the run has.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "varinfo/VarInfoRecord.h"

namespace owl {

class XMLStreamWriter;

class VarInfoXML {
  public:
    VarInfoXML();
    virtual ~VarInfoXML();

    // The whole document, without a final line end.
    std::string generateXML(const std::vector<VarInfoRecord>& records);

    // Streaming: begin, then add each record, then end (which writes the
    // rest of the document, without a final line end).
    void begin(std::ostream& out);
    void add(const VarInfoRecord& record);
    void end();

  private:
    std::unique_ptr<XMLStreamWriter> writer_;
};

}  // namespace owl
