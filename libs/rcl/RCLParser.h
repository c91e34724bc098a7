#pragma once
// Reads command-language text (docs/command-language.md) into a detached
// tree of objects. Errors are owl::data::error whose message reads
// "SOURCE:LINE: what is wrong", SOURCE being a file name or "sent text".

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "libs/rcl/RCLObject.h"

namespace owl {

class RCLParser {
  public:
    // Objects may nest this deep; deeper text is rejected rather than risking
    // the stack of the code that walks the tree.
    static constexpr size_t maxDepth = 32;

    // source names the text in messages: a file path (bytes) or "sent text".
    explicit RCLParser(std::string source);

    // The objects of the text under a root without type or name. Blocks that
    // name the same object are merged, later parameter values winning.
    std::unique_ptr<RCLObject> parse(const QString& text);

  private:
    void parseLine(const QString& line);
    void openObject(const QString& header);
    void closeObject();
    void setParameter(const QString& name, const QString& rawValue);
    QString unquote(const QString& rawValue) const;
    [[noreturn]] void fail(const QString& what) const;
    [[noreturn]] void failOnLine(size_t line, const QString& what) const;

    std::string source_;
    size_t line_ = 0;
    std::unique_ptr<RCLObject> root_;
    std::vector<RCLObject*> open_;  // root first, innermost last
    std::vector<size_t> openedOn_;  // line of each open object after the root
};

}  // namespace owl
