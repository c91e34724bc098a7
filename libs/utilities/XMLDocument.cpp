#include "libs/utilities/XMLDocument.h"

#include <functional>

#include "libs/exception/Error.h"
#include "libs/utilities/XMLText.h"

namespace owl {
namespace {

const char* const kClassName = "XMLDocument";
const char* const kIndent = "  ";

[[noreturn]] void raise(const char* operation, const std::string& message) {
    throw internal::error(kClassName, operation, message, errorFatal);
}

std::string pathText(const XMLDocument::Path& path, size_t steps) {
    std::string text;
    for (size_t i = 0; i < steps && i < path.size(); ++i)
        text += (i > 0 ? "/" : "") + path[i].getName();
    return text;
}

std::string quoted(const XMLDocument::Path& path) {
    return "'" + pathText(path, path.size()) + "'";
}

[[noreturn]] void raiseNotStarted(const char* operation, const std::string& action) {
    raise(operation, "The XML document has not been started: cannot " + action + ".");
}

void requireName(const char* operation, const std::string& name, const std::string& kind) {
    if (!xmltext::isName(name))
        raise(operation, "'" + name + "' is not a valid XML " + kind + " name.");
}

// Collects what pugixml writes.
class StringWriter : public pugi::xml_writer {
  public:
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
    std::string text;
};

}  // namespace

size_t XMLDocument::ChildKeyHash::operator()(const ChildKey& key) const {
    return std::hash<const void*>()(key.parent) * 31 + std::hash<std::string>()(key.name);
}

XMLDocument::XMLDocument() = default;
XMLDocument::~XMLDocument() = default;

void XMLDocument::startDocument(const std::string& rootName) {
    if (root_)
        raise("startDocument", "The XML document has already been started with the root element '" +
                                   std::string(root_.name()) +
                                   "'; it cannot be started again with '" + rootName + "'.");
    requireName("startDocument", rootName, "element");
    pugi::xml_node declaration = document_.append_child(pugi::node_declaration);
    if (!declaration || !declaration.append_attribute("version").set_value("1.0") ||
        !declaration.append_attribute("encoding").set_value("UTF-8"))
        raise("startDocument", "Could not start the XML document: out of memory.");
    root_ = document_.append_child(rootName.c_str());
    if (!root_)
        raise("startDocument", "Could not add the root element '" + rootName + "': out of memory.");
}

void XMLDocument::createDuplicateElements(bool duplicates) {
    duplicates_ = duplicates;
}

void XMLDocument::addElement(const Path& path, const std::string& text) {
    if (!root_) raiseNotStarted("addElement", "add the element " + quoted(path));
    if (path.size() < 2)
        raise("addElement", "The element path " + quoted(path) +
                                " is too short: it must name the root and the element to add.");
    requireName("addElement", path.back().getName(), "element");
    pugi::xml_node parent = designate("addElement", path, path.size() - 1);
    pugi::xml_node element =
        duplicates_ ? pugi::xml_node() : lastChildNamed(parent, path.back().getName());
    if (!element) element = appendChild(parent, path);
    if (!text.empty()) setText(element, text, path);
}

void XMLDocument::addAttribute(const Path& path, const Attribute& attribute) {
    if (!root_)
        raiseNotStarted("addAttribute",
                        "add the attribute '" + attribute.first + "' to " + quoted(path));
    requireName("addAttribute", attribute.first, "attribute");
    pugi::xml_node element = designate("addAttribute", path, path.size());
    pugi::xml_attribute target = element.attribute(attribute.first.c_str());
    if (!target) target = element.append_attribute(attribute.first.c_str());
    if (!target || !target.set_value(xmltext::escapeAttribute(attribute.second).c_str()))
        raise("addAttribute", "Could not set the attribute '" + attribute.first + "' of " +
                                  quoted(path) + ": out of memory.");
}

std::string XMLDocument::writeDocumentString() const {
    if (!root_) raiseNotStarted("writeDocumentString", "write it");
    StringWriter writer;
    // Texts are stored escaped already (XMLText.h): pugixml's own escaping
    // would write control characters as references that XML 1.0 forbids.
    document_.save(writer, kIndent, pugi::format_indent | pugi::format_no_escapes,
                   pugi::encoding_utf8);
    if (!writer.text.empty() && writer.text.back() == '\n') writer.text.pop_back();
    return writer.text;
}

pugi::xml_node XMLDocument::designate(const char* operation, const Path& path, size_t steps) const {
    if (path.empty() || path.front().getName() != root_.name())
        raise(operation, "The element path " + quoted(path) +
                             " does not start at the root element '" + root_.name() + "'.");
    pugi::xml_node element = root_;
    for (size_t i = 1; i < steps; ++i) {
        element = lastChildNamed(element, path[i].getName());
        if (!element)
            raise(operation, "The element path " + quoted(path) + " designates no element: '" +
                                 pathText(path, i) + "' has no child '" + path[i].getName() + "'.");
    }
    return element;
}

pugi::xml_node XMLDocument::lastChildNamed(pugi::xml_node parent, const std::string& name) const {
    auto found = lastChild_.find(ChildKey{parent.internal_object(), name});
    return found == lastChild_.end() ? pugi::xml_node() : found->second;
}

pugi::xml_node XMLDocument::appendChild(pugi::xml_node parent, const Path& path) {
    const std::string& name = path.back().getName();
    pugi::xml_node child = parent.append_child(name.c_str());
    if (!child)
        raise("addElement", "Could not add the element " + quoted(path) + ": out of memory.");
    lastChild_[ChildKey{parent.internal_object(), name}] = child;
    return child;
}

void XMLDocument::setText(pugi::xml_node element, const std::string& text, const Path& path) {
    if (!element.text().set(xmltext::escapeText(text).c_str()))
        raise("addElement",
              "Could not set the text of the element " + quoted(path) + ": out of memory.");
}

}  // namespace owl
