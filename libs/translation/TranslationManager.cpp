#include "libs/translation/TranslationManager.h"

#include <algorithm>

namespace owl {
namespace TranslationManager {

namespace {
std::vector<std::string>& packages() {
    static std::vector<std::string> list;
    return list;
}
}  // namespace

void requirePackageDictionary(const std::string& packageName) {
    auto& list = packages();
    if (std::find(list.begin(), list.end(), packageName) == list.end()) list.push_back(packageName);
}

std::string initialize() {
    return "en";
}

const std::vector<std::string>& requiredPackages() {
    return packages();
}

}  // namespace TranslationManager
}  // namespace owl
