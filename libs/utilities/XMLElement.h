#pragma once
// One step of an element path in an owl::XMLDocument: the name of an element.

#include <string>

namespace owl {

class XMLElement {
  public:
    explicit XMLElement(std::string name);
    virtual ~XMLElement();

    const std::string& getName() const { return name_; }

  private:
    std::string name_;
};

}  // namespace owl
