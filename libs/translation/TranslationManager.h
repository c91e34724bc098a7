#pragma once
// The error library's translation set-up. Messages are English only; the
// manager records which message packages the program declared so that a
// later translation layer can load their dictionaries in the same order.

#include <string>
#include <vector>

namespace owl {
namespace TranslationManager {

// Declares that the dictionary of the named message package is required.
void requirePackageDictionary(const std::string& packageName);

// Completes the set-up. Returns the language in use ("en").
std::string initialize();

// The packages declared so far, in declaration order.
const std::vector<std::string>& requiredPackages();

}  // namespace TranslationManager
}  // namespace owl
