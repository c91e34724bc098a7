#pragma once
// The value side of a rule comparison: a glob pattern in which '*' matches
// any run of characters (also none), '?' exactly one character, and every
// other character itself, case-sensitively. Escaped wildcards are literal.

#include <QString>
#include <vector>

namespace mon {

class RulePattern {
  public:
    // '*' and '?' as wildcards, any other character as itself.
    void append(QChar c);
    void appendLiteral(QChar c);
    void appendAnyRun();
    void appendAnyOne();
    // Called once after the last append, before matching.
    void finish();

    bool matches(const QString& text) const;
    // The general walk, whatever the shape: the quick tests that matches()
    // uses for common shapes must agree with it (checked by the fuzzer).
    bool matchesByWalking(const QString& text) const;
    // The one text the pattern matches when it has no wildcard, else null.
    const QString* exactText() const { return shape_ == Shape::Exact ? &literal_ : nullptr; }

  private:
    enum class Element : unsigned char { Literal, AnyRun, AnyOne };
    // The common shapes get a quick test; General walks the elements.
    enum class Shape : unsigned char { Exact, Prefix, Suffix, Contains, Everything, General };

    std::vector<Element> elements_;
    QString literals_;  // one character per element (unused for wildcards)
    QString literal_;   // the literal text of every shape but General
    Shape shape_ = Shape::Exact;
};

}  // namespace mon
