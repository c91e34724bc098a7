#include "libs/mondata/formats/openfoam/FoamLogLines.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "libs/exception/MessageText.h"
#include "libs/mondata/text/DecimalFloat.h"
#include "libs/mondata/text/TokenText.h"

namespace mon {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Removes prefix from the front of text when text starts with it.
bool consume(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The text up to the next blank or comma, quoted and shortened for messages.
std::string show(std::string_view text) {
    size_t end = 0;
    while (end < text.size() && !isBlank(text[end]) && text[end] != ',') ++end;
    return quotedToken(text.substr(0, end));
}

FoamLine damaged(std::string problem) {
    FoamLine line;
    line.kind = FoamLineKind::Damaged;
    line.problem = std::move(problem);
    return line;
}

// Reads a number that must end at a blank, a comma or the end of the text.
bool readDelimitedNumber(std::string_view& text, double& value) {
    size_t length = readFoamNumber(text, value);
    if (length == 0 || (length < text.size() && !isBlank(text[length]) && text[length] != ','))
        return false;
    text.remove_prefix(length);
    return true;
}

// Reads "LABEL NUMBER" from the front of text, e.g. ", global = 1e-5". On
// failure returns false and says why in problem.
bool readLabelled(std::string_view& text, std::string_view label, const char* what, double& value,
                  std::string& problem) {
    if (!consume(text, label)) {
        problem = std::string("no ") + what;
        return false;
    }
    if (readDelimitedNumber(text, value)) return true;
    problem = std::string(what) + " " + show(text) + " is not a number";
    return false;
}

bool endsHere(std::string_view text) {
    return trimmedField(text).empty();
}

// A unit of up to 8 letters may follow the number's last digit: "0.005s".
bool isTimeUnit(std::string_view number, std::string_view unit) {
    if (unit.empty()) return true;
    if (unit.size() > 8 || number.empty() ||
        !std::isdigit(static_cast<unsigned char>(number.back())))
        return false;
    return std::all_of(unit.begin(), unit.end(),
                       [](char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; });
}

FoamLine timeLine(std::string_view text) {
    FoamLine line;
    line.kind = FoamLineKind::Time;
    text = trimmedField(text);
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), line.time);
    const std::string_view number = text.substr(0, static_cast<size_t>(end - text.data()));
    const std::string_view unit = trimmedField(text.substr(number.size()));
    if (ec != std::errc() || !isTimeUnit(number, unit) || !std::isfinite(line.time))
        return damaged("time " + show(text) + " is not a number");
    line.name = unit;
    return line;
}

FoamLine deltaTLine(std::string_view text) {
    FoamLine line;
    line.kind = FoamLineKind::DeltaT;
    text = trimmedField(text);
    if (!readDelimitedNumber(text, line.values[0]) || !endsHere(text))
        return damaged("deltaT " + show(trimmedField(text)) + " is not a number");
    return line;
}

FoamLine executionTimeLine(std::string_view text) {
    FoamLine line;
    line.kind = FoamLineKind::ExecutionTime;
    text = trimmedField(text);
    const std::string_view seconds = text.substr(0, text.find(' '));
    if (readFoamNumber(seconds, line.values[0]) != seconds.size() || seconds.empty())
        return damaged("ExecutionTime '" + std::string(seconds.substr(0, 40)) +
                       "' is not a number");
    text.remove_prefix(seconds.size());
    text = trimmedField(text);
    consume(text, "s");
    text = trimmedField(text);
    std::string problem;
    if (!readLabelled(text, "ClockTime = ", "ClockTime", line.values[1], problem))
        return damaged(problem);
    return line;
}

// The values before a problem are kept: each is named by its label. The
// newer openfoam.org releases leave out the cumulative error after a
// non-final pressure corrector. name: what the errors are of ("moving mesh"
// for foam-extend's line of a moving mesh), empty for the usual line.
FoamLine continuityLine(std::string_view text, std::string_view name) {
    FoamLine line;
    line.kind = FoamLineKind::Continuity;
    line.name = name;
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) return FoamLine();
    const std::string_view before = trimmedField(text.substr(0, colon));
    if (before.size() > 2 && before.front() == '(' && before.back() == ')')
        line.region = before.substr(1, before.size() - 2);  // "(air)"
    text = trimmedField(text.substr(colon + 1));
    std::fill(std::begin(line.values), std::end(line.values), kNoValue);
    std::string problem;
    if (!readLabelled(text, "sum local = ", "sum local", line.values[0], problem) ||
        !readLabelled(text, ", global = ", "global", line.values[1], problem) ||
        (!endsHere(text) &&
         !readLabelled(text, ", cumulative = ", "cumulative", line.values[2], problem))) {
        line.problem = "continuity errors: " + problem;
        if (line.values[0] == kNoValue) line.kind = FoamLineKind::Damaged;
    }
    return line;
}

FoamLine outerIterationLine(std::string_view text) {
    if (!consume(text, "iteration ") && !consume(text, "Iteration ")) return FoamLine();
    FoamLine line;
    line.kind = FoamLineKind::OuterIteration;
    text = trimmedField(text);
    int number = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (ec != std::errc() || end != text.data() + text.size() || number < 1)
        return damaged("PIMPLE iteration " + show(text) + " is not a whole number from 1");
    line.values[0] = number;
    return line;
}

// at: where "Number mean: " starts; the words before it, after a "Region:
// NAME" prefix, are the line's label ("Interface Courant Number").
FoamLine courantLine(std::string_view text, size_t at) {
    static const std::string_view kMarker = "Number mean: ";
    FoamLine line;
    line.kind = FoamLineKind::Courant;
    std::string_view label = text.substr(0, at + 6);  // up to "Number"
    if (consume(label, "Region: ")) {
        label = trimmedField(label);
        line.region = label.substr(0, label.find(' '));
        label.remove_prefix(line.region.size());
    }
    line.name = trimmedField(label);
    text.remove_prefix(at + kMarker.size());
    std::string problem;
    if (!readLabelled(text, "", "mean", line.values[0], problem) ||
        !readLabelled(text, " max: ", "max", line.values[1], problem))
        return damaged(std::string(line.name) + ": " + problem);
    return line;
}

// "bounding k, min: a max: b average: c"
FoamLine boundingLine(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return FoamLine();
    FoamLine line;
    line.kind = FoamLineKind::Bounding;
    line.name = trimmedField(text.substr(0, comma));
    text.remove_prefix(comma + 1);
    std::string problem;
    if (line.name.empty() || !readLabelled(text, " min: ", "min", line.values[0], problem) ||
        !readLabelled(text, " max: ", "max", line.values[1], problem) ||
        !readLabelled(text, " average: ", "average", line.values[2], problem))
        return damaged("bounding " + std::string(line.name) + ": " +
                       (problem.empty() ? "no field" : problem));
    return line;
}

FoamLine regionLine(std::string_view text) {
    if (!consume(text, "fluid region ") && !consume(text, "solid region ")) return FoamLine();
    FoamLine line;
    line.kind = FoamLineKind::Region;
    line.name = trimmedField(text);
    return line;
}

// "SOLVER:  Solving for FIELD, Initial residual = a, Final residual = b, No
// Iterations n". Other "Solving for" lines (a singular matrix, a solver that
// prints no residuals, vector residuals "(a b c)") are left alone.
FoamLine solveLine(std::string_view text) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) return FoamLine();
    FoamLine line;
    line.kind = FoamLineKind::Solve;
    line.name = trimmedField(text.substr(0, comma));
    text.remove_prefix(comma);
    if (line.name.empty()) return damaged("solution of a field without a name");
    if (!consume(text, ", Initial residual = ") || text.substr(0, 1) == "(") return FoamLine();
    std::string problem;
    double iterations = 0;
    if (!readLabelled(text, "", "initial residual", line.values[0], problem) ||
        !readLabelled(text, ", Final residual = ", "final residual", line.values[1], problem) ||
        !readLabelled(text, ", No Iterations ", "iteration count", iterations, problem) ||
        !endsHere(text))
        return damaged("solution of '" + std::string(line.name) +
                       "': " + (problem.empty() ? "unexpected text at the end" : problem));
    line.values[2] = iterations;
    return line;
}

// "--> FOAM FATAL ERROR" (or IO ERROR), or the first line of the stack trace
// that a crash (a floating point exception, say) prints: "#0  Foam::...". A
// parallel run prefixes each line of the error with the rank: "[3] --> ...".
bool isFailure(std::string_view text) {
    if (consume(text, "[")) {
        const size_t close = text.find("] ");
        if (close == 0 || close == std::string_view::npos ||
            text.substr(0, close).find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        text = trimmedField(text.substr(close + 1));
    }
    if (consume(text, "--> FOAM FATAL")) return true;
    return consume(text, "#0") && !text.empty() && isBlank(text[0]) &&
           trimmedField(text).substr(0, 5) == "Foam:";
}

// "NAME =" followed by a blank or nothing (the line is trimmed).
bool consumeAssignment(std::string_view& text, std::string_view name) {
    std::string_view rest = text;
    if (!consume(rest, name) || !consume(rest, " =") || (!rest.empty() && rest[0] != ' '))
        return false;
    text = rest;
    return true;
}

FoamLine failure(std::string_view text) {
    FoamLine line;
    line.kind = FoamLineKind::Failure;
    line.name = text;
    return line;
}

// Lines told apart by how they start; the first character picks the one
// candidate, so that the common solution lines cost one comparison.
FoamLine byStart(std::string_view text) {
    std::string_view rest = text;
    switch (text[0]) {
        case 'T':
            return consumeAssignment(rest, "Time") ? timeLine(rest) : FoamLine();
        case 'd':
            return consumeAssignment(rest, "deltaT") ? deltaTLine(rest) : FoamLine();
        case 'E':
            return consume(rest, "ExecutionTime = ") ? executionTimeLine(rest) : FoamLine();
        case 't':
            return consume(rest, "time step continuity errors") ? continuityLine(rest, "")
                                                                : FoamLine();
        case 'M':
            return consume(rest, "Moving mesh time step continuity errors")
                       ? continuityLine(rest, "moving mesh")
                       : FoamLine();
        case 'P':
            return consume(rest, "PIMPLE: ") ? outerIterationLine(rest) : FoamLine();
        case 'S':
            return consume(rest, "Solving for ") ? regionLine(rest) : FoamLine();
        case 'b':
            return consume(rest, "bounding ") ? boundingLine(rest) : FoamLine();
        case '-':
        case '#':
        case '[':
            return isFailure(text) ? failure(text) : FoamLine();
        default:
            return FoamLine();
    }
}

}  // namespace

size_t readFoamNumber(std::string_view text, double& value) {
    const char* begin = text.data();
    const char* after = readSolverNumberPrefix(begin, begin + text.size(), value);
    return after ? static_cast<size_t>(after - begin) : 0;
}

FoamLine recogniseFoamLine(std::string_view line) {
    std::string_view text = trimmedField(line);
    if (text.empty()) return FoamLine();
    FoamLine known = byStart(text);
    if (known.kind != FoamLineKind::Other) return known;
    static const std::string_view kSolving = ":  Solving for ";
    const size_t colon = text.find(':');
    if (colon != std::string_view::npos && text.substr(colon, kSolving.size()) == kSolving)
        return solveLine(text.substr(colon + kSolving.size()));
    const size_t number = colon == std::string_view::npos ? colon : text.find("Number mean: ");
    if (number != std::string_view::npos && number > 0 && text[number - 1] == ' ') {
        const std::string_view word = text.substr(0, number - 1);
        const std::string_view last = word.substr(word.rfind(' ') + 1);
        if (last == "Courant" || last == "Diffusion") return courantLine(text, number);
    }
    return FoamLine();
}

}  // namespace mon
