#include "libs/mondata/rules/RuleParser.h"

#include <utility>

#include "libs/mondata/rules/RuleScanner.h"

namespace mon {

namespace {

// Recursive descent, one function per precedence level:
//   rule       := orChain
//   orChain    := andChain { "or" andChain }
//   andChain   := unary { "and" unary }
//   unary      := "not" unary | "(" orChain ")" | comparison
//   comparison := ATTRIBUTE ( "=" | "!=" ) VALUE
class RuleParser {
  public:
    explicit RuleParser(const QString& text) : in_(text) {}

    RuleNode wholeRule() {
        RuleNode rule = orChain(0);
        in_.skipBlanks();
        if (!in_.atEnd()) in_.fail(QStringLiteral("expected 'and', 'or' or the end of the rule"));
        return rule;
    }

  private:
    RuleNode orChain(int depth) {
        return chain(QStringLiteral("or"), RuleNode::Kind::AnyOf, [&] { return andChain(depth); });
    }

    RuleNode andChain(int depth) {
        return chain(QStringLiteral("and"), RuleNode::Kind::AllOf, [&] { return unary(depth); });
    }

    // Operands joined by one keyword become one node, so that long chains
    // stay flat instead of nesting.
    template <typename Operand>
    RuleNode chain(const QString& keyword, RuleNode::Kind kind, Operand operand) {
        RuleNode first = operand();
        if (!takeKeyword(keyword)) return first;
        RuleNode node;
        node.kind = kind;
        node.operands.push_back(std::move(first));
        do node.operands.push_back(operand());
        while (takeKeyword(keyword));
        return node;
    }

    RuleNode unary(int depth) {
        in_.skipBlanks();
        const int start = in_.column();
        if (takeKeyword(QStringLiteral("not"))) {
            enterLevel(depth, start);
            RuleNode node;
            node.kind = RuleNode::Kind::Not;
            node.operands.push_back(unary(depth + 1));
            return node;
        }
        if (in_.take(QLatin1Char('('))) return parenthesised(depth, start);
        return comparison();
    }

    RuleNode parenthesised(int depth, int start) {
        enterLevel(depth, start);
        RuleNode inner = orChain(depth + 1);
        in_.skipBlanks();
        if (!in_.take(QLatin1Char(')'))) in_.fail(QStringLiteral("expected 'and', 'or' or ')'"));
        return inner;
    }

    RuleNode comparison() {
        const QString attribute = in_.peekWord().toLower();
        if (attribute.isEmpty() || isKeyword(attribute))
            in_.fail(QStringLiteral("expected an attribute name"));
        in_.skip(attribute.size());
        RuleNode node;
        setAttribute(node.comparison, attribute);
        in_.skipBlanks();
        if (in_.take("!="))
            node.comparison.negated = true;
        else if (!in_.take(QLatin1Char('=')))
            in_.fail(QStringLiteral("expected '=' or '!='"));
        in_.skipBlanks();
        node.comparison.pattern = in_.value();
        return node;
    }

    static void setAttribute(RuleComparison& comparison, const QString& attribute) {
        using Source = RuleComparison::Source;
        if (attribute == QLatin1String("name"))
            comparison.source = Source::Name;
        else if (attribute == QLatin1String("label"))
            comparison.source = Source::Label;
        else
            comparison.source = Source::Declared;
        comparison.key = attribute;
    }

    static bool isKeyword(const QString& lowerWord) {
        return lowerWord == QLatin1String("and") || lowerWord == QLatin1String("or") ||
               lowerWord == QLatin1String("not");
    }

    bool takeKeyword(const QString& keyword) {
        in_.skipBlanks();
        if (in_.peekWord().compare(keyword, Qt::CaseInsensitive) != 0) return false;
        in_.skip(keyword.size());
        return true;
    }

    void enterLevel(int depth, int column) const {
        if (depth >= kMaxRuleDepth)
            in_.fail(QStringLiteral("more than %1 nested levels").arg(kMaxRuleDepth), column);
    }

    RuleScanner in_;
};

}  // namespace

std::shared_ptr<const RuleNode> parseRule(const QString& text) {
    RuleScanner blanks(text);
    blanks.skipBlanks();
    if (blanks.atEnd()) return nullptr;
    return std::make_shared<const RuleNode>(RuleParser(text).wholeRule());
}

}  // namespace mon
