#pragma once
// Builds an XML document element by element and writes it as UTF-8 text.
//
// Elements are designated by paths (vectors of XMLElement): the first step is
// the root's name, each further step names a child of the element the steps
// before it designate. Where siblings share a name, a step designates the one
// added last, found in constant time however many siblings there are.
// Children and attributes are written in the order they were added.
//
// Any byte string may be given as a text or attribute value: the document is
// always well-formed (escaping and replacement rules in XMLText.h and
// docs/xml.md). Names must be XML names. Misuse raises owl::internal::error.

#include <pugixml.hpp>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "libs/utilities/XMLElement.h"

namespace owl {

class XMLDocument {
  public:
    using Path = std::vector<XMLElement>;
    using Attribute = std::pair<std::string, std::string>;  // name, value

    XMLDocument();
    virtual ~XMLDocument();
    XMLDocument(const XMLDocument&) = delete;
    XMLDocument& operator=(const XMLDocument&) = delete;

    // Creates the root element; allowed once.
    void startDocument(const std::string& rootName);
    // On: addElement always adds a new element. Off (the default): addElement
    // adds an element only where its parent has no child of that name yet,
    // and otherwise designates that child. Applies to later addElement calls.
    void createDuplicateElements(bool duplicates);
    // Adds the path's last step as the last child of the element the other
    // steps designate (path of two steps or more). A non-empty text becomes
    // the element's text (replacing the text of a reused element).
    void addElement(const Path& path, const std::string& text);
    // Sets the attribute on the element the path designates (the root for a
    // one-step path): a new attribute goes after the others, an existing one
    // keeps its place and takes the new value.
    void addAttribute(const Path& path, const Attribute& attribute);
    // The whole document: the UTF-8 declaration, then the elements one per
    // line, indented by two spaces per level, without a final line end.
    std::string writeDocumentString() const;

  private:
    struct ChildKey {
        const void* parent;
        std::string name;
        bool operator==(const ChildKey& other) const {
            return parent == other.parent && name == other.name;
        }
    };
    struct ChildKeyHash {
        size_t operator()(const ChildKey& key) const;
    };

    pugi::xml_node designate(const char* operation, const Path& path, size_t steps) const;
    pugi::xml_node lastChildNamed(pugi::xml_node parent, const std::string& name) const;
    pugi::xml_node appendChild(pugi::xml_node parent, const Path& path);
    void setText(pugi::xml_node element, const std::string& text, const Path& path);

    pugi::xml_document document_;
    pugi::xml_node root_;
    bool duplicates_ = false;
    // The child of each name added last under each parent.
    std::unordered_map<ChildKey, pugi::xml_node, ChildKeyHash> lastChild_;
};

}  // namespace owl
