#include "libs/utilities/XMLStreamWriter.h"

#include "libs/exception/Error.h"
#include "libs/guiapp/MakeStdString.h"
#include "libs/utilities/XMLText.h"

namespace owl {
namespace {

const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
const char* const kIndent = "  ";
// Text is handed to the stream in blocks of about this size.
const size_t kBlockSize = 1 << 16;

[[noreturn]] void raise(const char* operation, const std::string& message) {
    throw internal::error("XMLStreamWriter", operation, message, errorFatal);
}

// text in UTF-8, into out. Names and labels are ASCII as a rule: those take
// no conversion and no allocation.
void toUtf8(const QString& text, std::string& out) {
    out.clear();
    for (const QChar unit : text) {
        if (unit.unicode() >= 0x80) {
            out = MakeStdString(text);
            return;
        }
        out += static_cast<char>(unit.unicode());
    }
}

void requireName(const char* operation, const std::string& name, const char* kind) {
    if (!xmltext::isName(name))
        raise(operation, "'" + name + "' is not a valid XML " + kind + " name.");
}

}  // namespace

XMLStreamWriter::XMLStreamWriter(std::ostream& out, const std::string& rootName) : out_(out) {
    requireName("XMLStreamWriter", rootName, "element");
    buffer_.reserve(kBlockSize + 4096);
    buffer_ += kDeclaration;
    openElement(rootName);
}

XMLStreamWriter::~XMLStreamWriter() = default;

void XMLStreamWriter::startElement(const std::string& name) {
    if (open_.empty())
        raise("startElement", "The XML document is finished: cannot add '" + name + "'.");
    requireName("startElement", name, "element");
    if (startTagOpen_) closeStartTag();
    openElement(name);
}

void XMLStreamWriter::openElement(const std::string& name) {
    indent(open_.size());
    buffer_ += '<';
    buffer_ += name;
    open_.push_back(name);
    attributeCount_ = 0;
    startTagOpen_ = true;
}

void XMLStreamWriter::addAttribute(const std::string& name, const std::string& value) {
    if (!startTagOpen_)
        raise("addAttribute", "The attribute '" + name +
                                  "' must come before the element's children and before the end "
                                  "of the document.");
    requireName("addAttribute", name, "attribute");
    rememberAttribute(name);
    buffer_ += ' ';
    buffer_ += name;
    buffer_ += "=\"";
    xmltext::appendEscapedAttribute(buffer_, value);
    buffer_ += '"';
}

void XMLStreamWriter::addAttribute(const std::string& name, const QString& value) {
    toUtf8(value, utf8_);
    addAttribute(name, utf8_);
}

void XMLStreamWriter::endElement() {
    if (open_.empty()) raise("endElement", "No XML element is open.");
    if (startTagOpen_) {
        buffer_ += " />\n";
        startTagOpen_ = false;
    } else {
        indent(open_.size() - 1);
        buffer_ += "</";
        buffer_ += open_.back();
        buffer_ += ">\n";
    }
    open_.pop_back();
    // The root's end stays buffered: finish drops its line end.
    if (!open_.empty()) flushIfFull();
}

void XMLStreamWriter::finish() {
    if (finished_) return;
    while (!open_.empty()) endElement();
    buffer_.pop_back();  // the final line end
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
    finished_ = true;
}

// An element cannot hold an attribute twice. Names are kept in slots that
// are reused, element after element, without allocating.
void XMLStreamWriter::rememberAttribute(const std::string& name) {
    for (size_t i = 0; i < attributeCount_; ++i)
        if (attributeNames_[i] == name)
            raise("addAttribute",
                  "The element '" + open_.back() + "' already has the attribute '" + name + "'.");
    if (attributeCount_ == attributeNames_.size()) attributeNames_.emplace_back();
    attributeNames_[attributeCount_++] = name;
}

void XMLStreamWriter::closeStartTag() {
    buffer_ += ">\n";
    startTagOpen_ = false;
}

void XMLStreamWriter::indent(size_t levels) {
    for (size_t level = 0; level < levels; ++level) buffer_ += kIndent;
}

void XMLStreamWriter::flushIfFull() {
    if (buffer_.size() < kBlockSize) return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

}  // namespace owl
