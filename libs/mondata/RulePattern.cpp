#include "libs/mondata/RulePattern.h"

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

void RulePattern::finish() {
    auto firstWildcard = std::find_if(elements_.begin(), elements_.end(),
                                      [](Element e) { return e != Element::Literal; });
    const int literalCount = static_cast<int>(firstWildcard - elements_.begin());
    prefix_ = literals_.left(literalCount);
    const bool onlyRuns =
        std::all_of(firstWildcard, elements_.end(), [](Element e) { return e == Element::AnyRun; });
    if (firstWildcard == elements_.end())
        shape_ = Shape::Exact;
    else if (!onlyRuns)
        shape_ = Shape::General;
    else
        shape_ = literalCount == 0 ? Shape::Everything : Shape::Prefix;
}

bool RulePattern::matches(const QString& text) const {
    switch (shape_) {
        case Shape::Exact:
            return text == prefix_;
        case Shape::Prefix:
            return text.startsWith(prefix_);
        case Shape::Everything:
            return true;
        case Shape::General:
            break;
    }
    return matchesGeneral(text);
}

// The usual glob walk: on a mismatch, go back to the last '*' and let it take
// one more character. Linear in memory, no recursion.
bool RulePattern::matchesGeneral(const QString& text) const {
    const int patternSize = static_cast<int>(elements_.size());
    int p = 0, t = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        const Element e = p < patternSize ? elements_[p] : Element::Literal;
        if (p < patternSize && e == Element::AnyOne) {
            t += characterLength(text, t);
            ++p;
        } else if (p < patternSize && e == Element::Literal && literals_.at(p) == text.at(t)) {
            ++t;
            ++p;
        } else if (p < patternSize && e == Element::AnyRun) {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            starT += characterLength(text, starT);
            t = starT;
        } else {
            return false;
        }
    }
    while (p < patternSize && elements_[p] == Element::AnyRun) ++p;
    return p == patternSize;
}

}  // namespace mon
