#include "libs/mondata/rules/RulePattern.h"

#include <algorithm>

namespace mon {

namespace {

// A character outside the Basic Multilingual Plane is two UTF-16 code units;
// '?' takes it whole.
int characterLength(const QString& text, int at) {
    return text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()
               ? 2
               : 1;
}

}  // namespace

void RulePattern::append(QChar c) {
    if (c == QLatin1Char('*'))
        appendAnyRun();
    else if (c == QLatin1Char('?'))
        appendAnyOne();
    else
        appendLiteral(c);
}

void RulePattern::appendLiteral(QChar c) {
    elements_.push_back(Element::Literal);
    literals_.append(c);
}

void RulePattern::appendAnyRun() {
    elements_.push_back(Element::AnyRun);
    literals_.append(QLatin1Char('*'));
}

void RulePattern::appendAnyOne() {
    elements_.push_back(Element::AnyOne);
    literals_.append(QLatin1Char('?'));
}

// Only '*' wildcards and at most one run of literal characters: the run is
// the literal and the stars around it say how it must sit in the text.
void RulePattern::finish() {
    shape_ = Shape::General;
    if (std::find(elements_.begin(), elements_.end(), Element::AnyOne) != elements_.end()) return;
    literal_.clear();
    bool leading = false, trailing = false;
    for (size_t i = 0; i < elements_.size(); ++i) {
        if (elements_[i] == Element::AnyRun) {
            if (literal_.isEmpty())
                leading = true;
            else
                trailing = true;
            continue;
        }
        if (trailing) return;  // a second run of literals
        literal_.append(literals_.at(static_cast<int>(i)));
    }
    if (literal_.isEmpty())
        shape_ = leading ? Shape::Everything : Shape::Exact;
    else
        shape_ = leading ? (trailing ? Shape::Contains : Shape::Suffix)
                         : (trailing ? Shape::Prefix : Shape::Exact);
}

bool RulePattern::matches(const QString& text) const {
    switch (shape_) {
        case Shape::Exact:
            return text == literal_;
        case Shape::Prefix:
            return text.startsWith(literal_);
        case Shape::Suffix:
            return text.endsWith(literal_);
        case Shape::Contains:
            return text.contains(literal_);
        case Shape::Everything:
            return true;
        case Shape::General:
            break;
    }
    return matchesByWalking(text);
}

// The usual glob walk: on a mismatch, go back to the last '*' and let it take
// one more character. Linear in memory, no recursion.
bool RulePattern::matchesByWalking(const QString& text) const {
    const int size = static_cast<int>(elements_.size());
    int p = 0, t = 0, lastRun = -1, runEnd = 0;
    while (t < text.size()) {
        const Element e = p < size ? elements_[p] : Element::Literal;
        if (p < size && e == Element::AnyRun) {
            lastRun = p++;
            runEnd = t;
        } else if (p < size && e == Element::AnyOne) {
            t += characterLength(text, t);
            ++p;
        } else if (p < size && literals_.at(p) == text.at(t)) {
            ++t;
            ++p;
        } else if (lastRun >= 0) {
            p = lastRun + 1;
            runEnd += characterLength(text, runEnd);
            t = runEnd;
        } else {
            return false;
        }
    }
    while (p < size && elements_[p] == Element::AnyRun) ++p;
    return p == size;
}

}  // namespace mon
