#include "stats/ConvergenceCriteria.h"

#include <strings.h>
#include <QString>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/rules/MonVariableRule.h"

namespace stats {

namespace {

// A piece of the text and where it starts (index into the whole text).
struct Piece {
    std::string text;
    size_t at;
};

class CriteriaParser {
  public:
    explicit CriteriaParser(const std::string& text) : text_(text) {}

    std::vector<Criterion> parse() {
        std::vector<Criterion> criteria;
        for (const Piece& piece : splitOutsideQuotes({text_, 0}, ';', false)) {
            if (isBlank(piece.text)) continue;
            criteria.push_back(criterion(piece));
        }
        if (criteria.empty()) fail("no criterion", text_.size());
        return criteria;
    }

  private:
    [[noreturn]] void fail(const std::string& what, size_t at) const {
        throw owl::internal::error("ConvergenceCriteria", "parse",
                                   "Invalid convergence criteria \"" + owl::printable(text_) +
                                       "\": " + what + " at column " + std::to_string(at + 1) + ".",
                                   owl::errorFatal);
    }

    static bool isBlank(const std::string& text) {
        for (char c : text)
            if (!std::isspace(static_cast<unsigned char>(c))) return false;
        return true;
    }

    // The text without the blanks around it (messages echo it so).
    static std::string trimmed(const std::string& text) {
        size_t first = 0, end = text.size();
        while (first < end && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
        while (end > first && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
        return text.substr(first, end - first);
    }

    // The pieces between separators that stand outside quotes; with last,
    // only the last separator splits (into two pieces).
    std::vector<Piece> splitOutsideQuotes(const Piece& whole, char separator, bool last) const {
        std::vector<Piece> pieces;
        std::vector<size_t> cuts;
        char quote = 0;
        for (size_t i = 0; i < whole.text.size(); ++i) {
            const char c = whole.text[i];
            if (quote) {
                if (c == '\\')
                    ++i;
                else if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == separator) {
                cuts.push_back(i);
            }
        }
        if (last && cuts.size() > 1) cuts.erase(cuts.begin(), cuts.end() - 1);
        size_t start = 0;
        for (size_t cut : cuts) {
            pieces.push_back({whole.text.substr(start, cut - start), whole.at + start});
            start = cut + 1;
        }
        pieces.push_back({whole.text.substr(start), whole.at + start});
        return pieces;
    }

    Criterion criterion(const Piece& piece) const {
        const std::vector<Piece> parts = splitOutsideQuotes(piece, ':', true);
        if (parts.size() < 2)
            fail("expected ':' between the rule and its tests", piece.at + piece.text.size());
        Criterion result;
        result.ruleText = trimmed(parts[0].text);
        if (result.ruleText.empty()) fail("expected a rule before ':'", parts[0].at);
        try {
            MonVariableRule(QString::fromLatin1(result.ruleText.c_str()));
        } catch (const owl::Error& error) {
            fail("the rule starting here is not valid (" + error.getErrorText() + ")", parts[0].at);
        }
        result.tests = tests(parts[1]);
        return result;
    }

    // The blank-separated words of a piece.
    static std::vector<Piece> words(const Piece& piece) {
        std::vector<Piece> found;
        const std::string& s = piece.text;
        for (size_t i = 0; i < s.size();) {
            if (std::isspace(static_cast<unsigned char>(s[i]))) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end < s.size() && !std::isspace(static_cast<unsigned char>(s[end]))) ++end;
            found.push_back({s.substr(i, end - i), piece.at + i});
            i = end;
        }
        return found;
    }

    std::vector<CriterionTest> tests(const Piece& piece) const {
        const std::vector<Piece> all = words(piece);
        if (all.empty()) fail("expected a test after ':'", piece.at + piece.text.size());
        std::vector<CriterionTest> result;
        size_t next = 0;
        for (;;) {
            result.push_back(test(all, next));
            if (next == all.size()) return result;
            if (strcasecmp(all[next].text.c_str(), "and") != 0)
                fail("expected 'and' or ';' after a test, not '" + all[next].text + "'",
                     all[next].at);
            if (++next == all.size()) fail("expected a test after 'and'", all.back().at);
        }
    }

    CriterionTest test(const std::vector<Piece>& all, size_t& next) const {
        const Piece& name = all[next++];
        CriterionTest test;
        const size_t start = name.at;
        const char* word = name.text.c_str();
        if (strcasecmp(word, "below") == 0) {
            test.kind = CriterionTest::Kind::Below;
            test.limit = number(all, next, name, false, test.percent);
        } else if (strcasecmp(word, "drop") == 0) {
            test.kind = CriterionTest::Kind::Drop;
            test.limit = number(all, next, name, false, test.percent);
        } else if (strcasecmp(word, "cauchy") == 0) {
            test.kind = CriterionTest::Kind::Cauchy;
            test.steps = steps(all, next, name);
            test.limit = number(all, next, name, false, test.percent);
        } else if (strcasecmp(word, "stable") == 0) {
            test.kind = CriterionTest::Kind::Stable;
            test.steps = steps(all, next, name);
            test.limit = number(all, next, name, true, test.percent);
        } else if (strcasecmp(word, "stderr") == 0) {
            test.kind = CriterionTest::Kind::StdError;
            test.limit = number(all, next, name, true, test.percent);
        } else {
            fail("unknown test '" + name.text + "' (below, drop, cauchy, stable or stderr)",
                 name.at);
        }
        const Piece& end = all[next - 1];
        test.text = text_.substr(start, end.at + end.text.size() - start);
        return test;
    }

    const Piece& operand(const std::vector<Piece>& all, size_t& next, const Piece& name,
                         const char* what) const {
        if (next == all.size() || strcasecmp(all[next].text.c_str(), "and") == 0) {
            const Piece& last = all[next - 1];
            fail(std::string("expected ") + what + " after '" + name.text + "'",
                 last.at + last.text.size());
        }
        return all[next++];
    }

    size_t steps(const std::vector<Piece>& all, size_t& next, const Piece& name) const {
        const Piece& word = operand(all, next, name, "a number of steps");
        char* end = nullptr;
        const long long value = std::strtoll(word.text.c_str(), &end, 10);
        if (*end != '\0' || value < 1 || word.text[0] == '+')
            fail("expected a number of steps (a whole number from 1), not '" + word.text + "'",
                 word.at);
        return static_cast<size_t>(value);
    }

    double number(const std::vector<Piece>& all, size_t& next, const Piece& name,
                  bool percentAllowed, bool& percent) const {
        const Piece& word = operand(all, next, name, "a number");
        std::string digits = word.text;
        percent = percentAllowed && digits.size() > 1 && digits.back() == '%';
        if (percent) digits.pop_back();
        char* end = nullptr;
        const double value = std::strtod(digits.c_str(), &end);
        if (digits.empty() || *end != '\0' || !std::isfinite(value))
            fail("expected a number after '" + name.text + "', not '" + word.text + "'", word.at);
        return value;
    }

    const std::string& text_;
};

}  // namespace

std::vector<Criterion> parseCriteria(const std::string& text) {
    return CriteriaParser(text).parse();
}

}  // namespace stats
