#include "libs/utilities/XMLElement.h"

#include <utility>

namespace owl {

XMLElement::XMLElement(std::string name) : name_(std::move(name)) {}
XMLElement::~XMLElement() = default;

}  // namespace owl
