#include "varinfo/VarInfoXML.h"

#include <sstream>

#include "libs/utilities/XMLStreamWriter.h"

namespace owl {
namespace {

// The document's vocabulary, built once at program start.
const std::string kRootElement("Variables");
const std::string kVariableElement("Variable");
const std::string kNameAttribute("Name");
const std::string kDisplayNameAttribute("DisplayName");
const std::string kTreeNameAttribute("TreeName");
const std::string kTreePathAttribute("TreePath");
const std::string kScaleAttribute("Scale");

}  // namespace

VarInfoXML::VarInfoXML() = default;
VarInfoXML::~VarInfoXML() = default;

std::string VarInfoXML::generateXML(const std::vector<VarInfoRecord>& records) {
    std::ostringstream out;
    begin(out);
    for (const VarInfoRecord& record : records) add(record);
    end();
    return out.str();
}

void VarInfoXML::begin(std::ostream& out) {
    writer_ = std::make_unique<XMLStreamWriter>(out, kRootElement);
}

void VarInfoXML::add(const VarInfoRecord& record) {
    writer_->startElement(kVariableElement);
    writer_->addAttribute(kNameAttribute, record.name);
    writer_->addAttribute(kDisplayNameAttribute, record.displayName);
    writer_->addAttribute(kTreeNameAttribute, record.treeName);
    writer_->addAttribute(kTreePathAttribute, record.treePath);
    if (!record.scale.isNull()) writer_->addAttribute(kScaleAttribute, record.scale);
    writer_->endElement();
}

void VarInfoXML::end() {
    writer_->finish();
    writer_.reset();
}

}  // namespace owl
