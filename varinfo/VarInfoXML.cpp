#include "varinfo/VarInfoXML.h"

#include "libs/guiapp/MakeStdString.h"
#include "libs/utilities/XMLDocument.h"

namespace owl {
namespace {

// The document's vocabulary, built once at program start.
const std::string kRootElement("Variables");
const std::string kVariableElement("Variable");
const std::string kNameAttribute("Name");
const std::string kDisplayNameAttribute("DisplayName");
const std::string kTreeNameAttribute("TreeName");
const std::string kTreePathAttribute("TreePath");

void addVariable(XMLDocument& document, const VarInfoRecord& record) {
    const XMLDocument::Path path{XMLElement(kRootElement), XMLElement(kVariableElement)};
    document.addElement(path, std::string());
    document.addAttribute(path, {kNameAttribute, MakeStdString(record.name)});
    document.addAttribute(path, {kDisplayNameAttribute, MakeStdString(record.displayName)});
    document.addAttribute(path, {kTreeNameAttribute, MakeStdString(record.treeName)});
    document.addAttribute(path, {kTreePathAttribute, MakeStdString(record.treePath)});
}

}  // namespace

VarInfoXML::VarInfoXML() = default;
VarInfoXML::~VarInfoXML() = default;

std::string VarInfoXML::generateXML(const std::vector<VarInfoRecord>& records) {
    XMLDocument document;
    document.startDocument(kRootElement);
    document.createDuplicateElements(true);
    for (const VarInfoRecord& record : records) addVariable(document, record);
    return document.writeDocumentString();
}

}  // namespace owl
