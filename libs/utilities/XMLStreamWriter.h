#pragma once
// Writes an XML document straight to a stream, element by element, in the
// layout of XMLDocument::writeDocumentString (the UTF-8 declaration, one
// element per line, two spaces of indent per level, "<E a=\"v\" />" for an
// element without children). Nothing is held but the open elements' names
// and a block of text not yet written: a document of any size costs the
// same memory. Elements carry attributes and child elements (no text).
//
// Names must be XML names; attribute values may be any byte string and are
// escaped by the rules of XMLText.h. Misuse raises owl::internal::error.

#include <QString>
#include <ostream>
#include <string>
#include <vector>

namespace owl {

class XMLStreamWriter {
  public:
    // Writes the declaration and opens the root element.
    XMLStreamWriter(std::ostream& out, const std::string& rootName);
    virtual ~XMLStreamWriter();
    XMLStreamWriter(const XMLStreamWriter&) = delete;
    XMLStreamWriter& operator=(const XMLStreamWriter&) = delete;

    // Opens a child of the innermost open element.
    void startElement(const std::string& name);
    // Adds an attribute to the element opened last, before any child of it.
    void addAttribute(const std::string& name, const std::string& value);
    void addAttribute(const std::string& name, const char* value) {
        addAttribute(name, std::string(value));
    }
    // The same with the value in UTF-8 (owl::MakeStdString).
    void addAttribute(const std::string& name, const QString& value);
    // Closes the innermost open element.
    void endElement();
    // Closes every open element and hands the text to the stream, without a
    // final line end. Nothing may be added afterwards.
    void finish();

  private:
    void openElement(const std::string& name);
    void rememberAttribute(const std::string& name);
    void closeStartTag();
    void indent(size_t levels);
    void flushIfFull();

    std::ostream& out_;
    std::string buffer_;
    std::string utf8_;                         // the latest QString value, in UTF-8
    std::vector<std::string> open_;            // names of the open elements, root first
    std::vector<std::string> attributeNames_;  // those of the element opened last
    size_t attributeCount_ = 0;                // how many of attributeNames_ hold its names
    bool startTagOpen_ = false;
    bool finished_ = false;
};

}  // namespace owl
