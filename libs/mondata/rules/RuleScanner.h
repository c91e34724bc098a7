#pragma once
// Reads the pieces of a variable rule from its text, left to right: blanks,
// single characters, words (attribute names and keywords) and values. Every
// failure is an owl::Error that quotes the rule and names the column.

#include <QString>

#include "libs/mondata/rules/RulePattern.h"

namespace mon {

class RuleScanner {
  public:
    explicit RuleScanner(const QString& text) : text_(text) {}

    void skipBlanks();
    bool atEnd() const { return at_ >= text_.size(); }
    // 1-based; one past the last character at the end of the text.
    int column() const { return at_ + 1; }

    // Consumes c, or the two characters of pair, when they come next.
    bool take(QChar c);
    bool take(const char* pair);
    // The run of letters, digits, '_' and '-' that starts here (maybe empty).
    QString peekWord() const;
    void skip(int characters) { at_ += characters; }

    // A bare or quoted value, read as a glob pattern.
    RulePattern value();

    [[noreturn]] void fail(const QString& what) const { fail(what, column()); }
    [[noreturn]] void fail(const QString& what, int column) const;

  private:
    void bareValue(RulePattern& pattern);
    void quotedValue(RulePattern& pattern);
    void escapedCharacter(RulePattern& pattern);
    void patternCharacter(RulePattern& pattern);

    const QString& text_;
    int at_ = 0;
};

}  // namespace mon
