#pragma once
// Decoding a results file's UTF-8 texts into QStrings, each distinct text
// once. Thousands of variables repeat the same attribute keys and many of
// the same values (labels equal to names, categories, groups, units); equal
// QStrings then share one buffer, which saves most of the allocations, the
// memory and the freeing at exit. The pool refers to the bytes it decoded:
// they must outlive it.

#include <QString>
#include <string_view>
#include <unordered_map>

namespace mon::results {

bool isAscii(std::string_view bytes);

// The text of UTF-8 bytes as owl::utf8::toQString gives it, quicker for
// plain ASCII.
QString decodeText(std::string_view bytes);

class TextPool {
  public:
    enum class Case { kKept, kLowered };
    explicit TextPool(Case letterCase = Case::kKept) : letterCase_(letterCase) {}

    // The text of the bytes, shared with the equal texts decoded before.
    const QString& decode(std::string_view bytes);
    // Sets text to the text of the bytes; false when the same bytes were
    // decoded before.
    bool decodeNew(std::string_view bytes, QString& text);

  private:
    std::pair<const QString*, bool> find(std::string_view bytes);

    Case letterCase_;
    std::unordered_map<std::string_view, QString> texts_;
};

}  // namespace mon::results
