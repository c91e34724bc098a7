#include "libs/mondata/rules/RuleScanner.h"

#include <string>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"

namespace mon {

namespace {

bool isWordCharacter(QChar c) {
    return c.unicode() < 128 &&
           (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-'));
}

// Only ASCII blanks separate: the command line's bytes arrive as Latin-1, and
// bytes such as A0 or 85 inside a UTF-8 letter must stay part of the value.
bool isBlank(QChar c) {
    const ushort code = c.unicode();
    return code == ' ' || (code >= '\t' && code <= '\r');
}

bool endsBareValue(QChar c) {
    return isBlank(c) || c == QLatin1Char('(') || c == QLatin1Char(')');
}

// The rule as the error message quotes it: its bytes as the command line gave
// them (a character beyond Latin-1, which no byte of it can be, as '?'), with
// control characters escaped so that the report stays on its two lines.
std::string quotedRule(const QString& text) {
    return owl::printable(text.toLatin1().toStdString());
}

}  // namespace

void RuleScanner::skipBlanks() {
    while (!atEnd() && isBlank(text_.at(at_))) ++at_;
}

bool RuleScanner::take(QChar c) {
    if (atEnd() || text_.at(at_) != c) return false;
    ++at_;
    return true;
}

bool RuleScanner::take(const char* pair) {
    if (at_ + 1 >= text_.size() || text_.at(at_) != QLatin1Char(pair[0]) ||
        text_.at(at_ + 1) != QLatin1Char(pair[1]))
        return false;
    at_ += 2;
    return true;
}

QString RuleScanner::peekWord() const {
    int end = at_;
    while (end < text_.size() && isWordCharacter(text_.at(end))) ++end;
    return text_.mid(at_, end - at_);
}

RulePattern RuleScanner::value() {
    if (atEnd()) fail(QStringLiteral("expected a value"));
    const QChar first = text_.at(at_);
    RulePattern pattern;
    if (first == QLatin1Char('"') || first == QLatin1Char('\''))
        quotedValue(pattern);
    else if (endsBareValue(first) || first == QLatin1Char('=') || first == QLatin1Char('!'))
        fail(QStringLiteral("expected a value"));
    else
        bareValue(pattern);
    pattern.finish();
    return pattern;
}

void RuleScanner::bareValue(RulePattern& pattern) {
    while (!atEnd() && !endsBareValue(text_.at(at_))) patternCharacter(pattern);
}

void RuleScanner::quotedValue(RulePattern& pattern) {
    const int opening = column();
    const QChar quote = text_.at(at_++);
    while (!atEnd() && text_.at(at_) != quote) patternCharacter(pattern);
    if (atEnd()) fail(QStringLiteral("missing closing %1 for the quote").arg(quote), opening);
    ++at_;
}

void RuleScanner::patternCharacter(RulePattern& pattern) {
    if (text_.at(at_) == QLatin1Char('\\')) return escapedCharacter(pattern);
    pattern.append(text_.at(at_++));
}

void RuleScanner::escapedCharacter(RulePattern& pattern) {
    const int backslash = column();
    if (++at_ >= text_.size()) fail(QStringLiteral("nothing to escape after '\\'"), backslash);
    pattern.appendLiteral(text_.at(at_++));
}

void RuleScanner::fail(const QString& what, int column) const {
    throw owl::internal::error("MonVariableRule", "MonVariableRule",
                               "Invalid variable rule \"" + quotedRule(text_) +
                                   "\": " + what.toStdString() + " at column " +
                                   std::to_string(column) + ".",
                               owl::errorFatal);
}

}  // namespace mon
