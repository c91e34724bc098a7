#pragma once
// What the XML writers' unit tests share: the declaration every document
// starts with, and the message of the misuse error an action raises.

#include <string>

#include "libs/exception/Error.h"

namespace xmltest {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// The error message that calling f raises, or "" when it raises none.
template <typename F>
std::string errorOf(F f) {
    try {
        f();
    } catch (const owl::internal::error& e) {
        return e.getErrorText();
    }
    return "";
}

}  // namespace xmltest
