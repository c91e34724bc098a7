#pragma once
// The text rules of the XML document builder: which texts are XML names, and
// how any byte string becomes text that an XML 1.0 parser reads back.
//
// Texts are taken as UTF-8. What XML 1.0 cannot carry is replaced by U+FFFD
// (the replacement character): every ill-formed UTF-8 sequence (one U+FFFD per
// maximal ill-formed subpart, as decoders commonly do), control characters
// other than tab, line feed and carriage return (NUL included), and the
// non-characters U+FFFE and U+FFFF. Everything else is kept byte for byte,
// apart from the characters that must be escaped.

#include <string>
#include <string_view>

namespace owl {
namespace xmltext {

// Whether name is an XML 1.0 Name (namespaces are not looked at).
bool isName(const std::string& name);

// The attribute value as it goes between double quotes: '&', '<', '>', '"',
// tab, line feed and carriage return are written as references, so that a
// parser returns the value unchanged (attribute-value normalization only
// touches literal white space).
std::string escapeAttribute(const std::string& value);
// The same, appended to out.
void appendEscapedAttribute(std::string& out, std::string_view value);

// The element text as it goes between tags: '&', '<', '>' and carriage
// return are written as references (a literal CR would be read as a line end).
std::string escapeText(const std::string& text);

}  // namespace xmltext
}  // namespace owl
