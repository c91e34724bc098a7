#pragma once
// What the XML writers' unit tests share: the declaration every document
// starts with, and the message of the misuse error an action raises.

#include <string>

#include "tests/CommandRunner.h"

namespace xmltest {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

using e2e::errorOf;

}  // namespace xmltest
