#include "libs/mondata/formats/openfoam/FoamDataParser.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/openfoam/FoamSolverGroups.h"
#include "libs/mondata/text/DecimalFloat.h"
#include "libs/mondata/text/TextScanner.h"
#include "libs/mondata/text/TokenText.h"

namespace mon {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The next field of a row: a word, or a parenthesised group with whatever
// it nests. Returns false at the end of the line; an unclosed group is
// returned with closed set to false.
bool nextField(std::string_view& rest, std::string_view& field, bool& closed) {
    size_t at = 0;
    while (at < rest.size() && isBlank(rest[at])) ++at;
    if (at == rest.size()) return false;
    size_t end = at;
    closed = true;
    if (rest[at] == '(') {
        int depth = 0;
        do {
            if (rest[end] == '(') ++depth;
            if (rest[end] == ')') --depth;
            ++end;
        } while (end < rest.size() && depth > 0);
        closed = depth == 0;
    } else {
        while (end < rest.size() && !isBlank(rest[end])) ++end;
    }
    field = rest.substr(at, end - at);
    rest.remove_prefix(end);
    return true;
}

// The words of a header line, split at blanks outside parentheses, so that
// "forces(pressure viscous)" stays one column.
std::vector<std::string> headerWords(std::string_view text) {
    std::vector<std::string> words;
    while (true) {
        size_t at = 0;
        while (at < text.size() && isBlank(text[at])) ++at;
        if (at == text.size()) break;
        size_t end = at;
        int depth = 0;
        while (end < text.size() && (depth > 0 || !isBlank(text[end]))) {
            depth += text[end] == '(' ? 1 : text[end] == ')' ? -1 : 0;
            ++end;
        }
        words.emplace_back(text.substr(at, end - at));
        text.remove_prefix(end);
    }
    return words;
}

// "forces(pressure viscous porous)" names the parts of a nested vector;
// "Cl(f)" or "areaAverage(p)" is a plain name.
std::vector<std::string> partNames(const std::string& column, std::string& base) {
    base = column;
    const size_t open = column.find('(');
    if (open == std::string::npos || open == 0 || column.back() != ')') return {};
    std::string inner = column.substr(open + 1, column.size() - open - 2);
    std::replace(inner.begin(), inner.end(), ',', ' ');
    std::vector<std::string> parts = headerWords(inner);
    if (parts.size() < 2) return {};
    base = column.substr(0, open);
    return parts;
}

// Suffixes of the components of a vector or tensor of n numbers.
std::string componentName(uint32_t count, uint32_t index) {
    static const char* const kVector[] = {"_x", "_y", "_z"};
    static const char* const kSymmTensor[] = {"_xx", "_xy", "_xz", "_yy", "_yz", "_zz"};
    static const char* const kTensor[] = {"_xx", "_xy", "_xz", "_yx", "_yy",
                                          "_yz", "_zx", "_zy", "_zz"};
    if (count == 1) return "";
    if (count <= 3) return kVector[index];
    if (count == 6) return kSymmTensor[index];
    if (count == 9) return kTensor[index];
    return "_" + std::to_string(index);
}

// How many numbers a field holds, and how many inner groups it nests.
void fieldShape(std::string_view field, uint32_t& numbers, uint32_t& groups) {
    numbers = groups = 0;
    int depth = 0;
    bool inNumber = false;
    for (char c : field) {
        if (c == '(' && ++depth == 2) ++groups;
        if (c == ')') --depth;
        const bool part = !isBlank(c) && c != '(' && c != ')';
        if (part && !inNumber) ++numbers;
        inNumber = part;
    }
}

bool isTimeWord(std::string_view word) {
    return word == "Time";
}

bool isNumberStart(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
}

// Whether a row's field is meant as a number (else it is a text: no value).
bool isNumeric(std::string_view field) {
    return isNumberStart(field.front()) || field == "nan" || field == "inf";
}

// Whether a row's fields are all N/A: a row that gives no value, as
// residuals.dat's first row (openfoam.org 9 and 10 write it with a field
// fewer than the columns).
bool onlyNotAvailable(std::string_view fields) {
    std::string_view field;
    bool closed = true, any = false;
    while (nextField(fields, field, closed)) {
        if (field != "N/A") return false;
        any = true;
    }
    return any;
}

bool endsWith(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}
}  // namespace

bool looksLikeFoamData(std::string_view head) {
    bool sawProbe = false;
    size_t pos = 0;
    while (pos < head.size()) {
        const size_t end = head.find('\n', pos);
        if (end == std::string_view::npos) break;
        std::string_view line = trimmedField(head.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) continue;
        if (line.front() != '#') return false;
        std::string_view rest = trimmedField(line.substr(1));
        std::string_view word = rest.substr(0, std::min(rest.find_first_of(" \t"), rest.size()));
        if (isTimeWord(word)) return true;
        sawProbe = sawProbe || word == "Probe";
    }
    return sawProbe && pos > 0 && head.size() >= 4096;
}

void FoamDataParser::fail(const std::string& what) const {
    throw owl::data::error(
        "MonDatabase", "updateFrom",
        owl::printable(fileName_) + ":" + std::to_string(lineNumber_) + ": " + what,
        owl::errorFatal);
}

FoamTable FoamDataParser::parse(std::string_view text) {
    reserveFor(text.size());
    parseLines(text);
    return finish();
}

size_t FoamDataParser::parseLines(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const void* found = std::memchr(text.data() + pos, '\n', text.size() - pos);
        if (!found) break;  // the line being written
        const size_t end = static_cast<size_t>(static_cast<const char*>(found) - text.data());
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        pos = end + 1;
        ++lineNumber_;
        size_t at = 0;
        while (at < line.size() && isBlank(line[at])) ++at;
        if (at == line.size()) continue;
        if (line[at] == '#')
            parseComment(line.substr(at + 1));
        else
            parseRow(line.substr(at));
    }
    return pos;
}

void FoamDataParser::parseComment(std::string_view body) {
    if (inRows_) {  // a new header block
        inRows_ = false;
        probeLocations_.clear();
        probeColumns_.clear();
    }
    std::string_view rest = trimmedField(body);
    const size_t wordEnd = std::min(rest.find_first_of(" \t"), rest.size());
    std::string_view word = rest.substr(0, wordEnd);
    if (word == "Probe") return parseProbeLine(trimmedField(rest.substr(wordEnd)));
    if (isTimeWord(word)) parseColumnLine(rest.substr(wordEnd));
}

// "# Probe 3 (x y z)" gives probe 3's position; "# Probe 0 1 2" (a header
// that names the probes on its own line) gives the columns.
void FoamDataParser::parseProbeLine(std::string_view rest) {
    std::vector<std::string> words = headerWords(rest);
    int index = 0;
    if (words.size() == 2 && words[1].front() == '(' && parseWhole(words[0], index) && index >= 0 &&
        index < 1000000) {
        if (probeLocations_.size() <= static_cast<size_t>(index)) probeLocations_.resize(index + 1);
        probeLocations_[index] = words[1];
        return;
    }
    for (const std::string& word : words)
        if (!parseWhole(word, index)) return;
    probeColumns_ = std::move(words);
}

void FoamDataParser::parseColumnLine(std::string_view columns) {
    std::vector<std::string> names = headerWords(columns);
    if (names.empty()) names = probeColumns_;
    headerBase_.assign(names.size(), std::string());
    headerParts_.assign(names.size(), {});
    for (size_t i = 0; i < names.size(); ++i) headerParts_[i] = partNames(names[i], headerBase_[i]);
    keyed_ = !names.empty() && (names[0] == "field" || names[0] == "patch");
    layouts_.clear();
    solverInfo_ = std::any_of(names.begin(), names.end(),
                              [](const std::string& name) { return endsWith(name, "_solver"); });
    sawColumnLine_ = true;
    if (solverInfo_) prepareSolverGroups();
}

// Each "F_solver" column opens a field's group, "F_converged" closes it;
// the columns between are that field's numbers.
void FoamDataParser::prepareSolverGroups() {
    groupCounts_.clear();
    groupColumns_.clear();
    for (const std::string& name : headerBase_) {
        if (endsWith(name, "_solver")) {
            groupColumns_.emplace_back();
        } else if (!endsWith(name, "_converged") && !groupColumns_.empty()) {
            groupColumns_.back().push_back(columnFor({"", name, "", ""}));
        }
    }
    for (const auto& columns : groupColumns_)
        groupCounts_.push_back(static_cast<int>(columns.size()));
}

uint32_t FoamDataParser::columnFor(FoamColumn column) {
    auto [found, added] =
        columnByName_.emplace(column.name(), static_cast<uint32_t>(table_.columns.size()));
    if (added) table_.columns.push_back(std::move(column));
    return found->second;
}

void FoamDataParser::parseRow(std::string_view line) {
    if (!sawColumnLine_) fail("a row before the column line ('# Time ...')");
    std::string_view rest = line;
    std::string_view timeText;
    bool closed = true;
    nextField(rest, timeText, closed);
    double time = 0;
    auto [end, ec] = std::from_chars(timeText.data(), timeText.data() + timeText.size(), time);
    if (ec != std::errc() || end != timeText.data() + timeText.size() || !std::isfinite(time))
        fail("time " + quotedToken(timeText) + " is not a number");
    inRows_ = true;
    if (onlyNotAvailable(rest)) return;  // no record, whatever its length
    if (keyed_) return parseKeyedRow(rest, time);
    startRow(time, false);
    if (solverInfo_) return parseSolverRow(rest);
    parseFields(rest, std::string());
}

// A long-format row: the field (or patch) comes first, and the rows of one
// time for different fields make one record.
void FoamDataParser::parseKeyedRow(std::string_view fields, double time) {
    std::string_view keyText;
    bool closed = true;
    if (!nextField(fields, keyText, closed))
        fail("row has no " + headerBase_[0] + " name after the time");
    std::string key(keyText);
    const bool sameTime = !table_.rows.empty() && table_.rows.back().time == time;
    const bool repeated = std::find(rowKeys_.begin(), rowKeys_.end(), key) != rowKeys_.end();
    startRow(time, sameTime && !repeated);
    rowKeys_.push_back(key);
    parseFields(fields, key);
}

void FoamDataParser::startRow(double time, bool sameRowAllowed) {
    std::vector<FoamRow>& rows = table_.rows;
    if (sameRowAllowed) {
        firstChangedRow_ = std::min(firstChangedRow_, rows.size() - 1);
        return;
    }
    rowKeys_.clear();
    int loop = 1;
    if (!rows.empty() && rows.back().time == time) {
        loop = rows.back().loop + 1;
    } else if (!rows.empty() && time < rows.back().time) {
        // The run restarted from an earlier time into the same file: the
        // rows it writes again replace the earlier ones.
        auto from = std::lower_bound(rows.begin(), rows.end(), time,
                                     [](const FoamRow& row, double t) { return row.time < t; });
        table_.cells.resize(from->firstCell);
        rows.erase(from, rows.end());
    }
    rows.push_back({time, loop, static_cast<uint32_t>(table_.cells.size())});
    firstChangedRow_ = std::min(firstChangedRow_, rows.size() - 1);
}

void FoamDataParser::parseFields(std::string_view fields, const std::string& key) {
    const Layout& layout = layoutFor(key, fields);
    const size_t first = keyed_ ? 1 : 0;
    std::string_view field;
    bool closed = true;
    size_t count = 0;
    for (; nextField(fields, field, closed); ++count) {
        if (!closed) fail("unbalanced parentheses in " + quotedToken(field));
        if (count < layout.size()) putToken(field, layout[count]);
    }
    if (count + first != headerBase_.size())
        fail("row has " + std::to_string(count + first) +
             " fields after the time, but the column line names " +
             std::to_string(headerBase_.size()) + " columns");
}

// The columns of a header block are known when its first row (of each key)
// shows which fields are vectors.
const FoamDataParser::Layout& FoamDataParser::layoutFor(const std::string& key,
                                                        std::string_view fields) {
    auto found = layouts_.find(key);
    if (found != layouts_.end()) return found->second;
    Layout& layout = layouts_[key];
    std::string_view field;
    bool closed = true;
    for (size_t header = keyed_ ? 1 : 0; header < headerBase_.size(); ++header) {
        if (!nextField(fields, field, closed)) break;
        if (!closed) fail("unbalanced parentheses in " + quotedToken(field));
        addSlot(layout, key, header, field);
    }
    return layout;
}

void FoamDataParser::addSlot(Layout& layout, const std::string& key, size_t header,
                             std::string_view token) {
    uint32_t numbers = 1, groups = 0;
    if (token.front() == '(') fieldShape(token, numbers, groups);
    if (numbers == 0) fail("column " + quotedToken(headerBase_[header]) + " holds no numbers");
    const std::vector<std::string>& parts = headerParts_[header];
    const bool named = groups > 0 && parts.size() == groups && numbers % groups == 0;
    const uint32_t perGroup = groups > 0 && numbers % groups == 0 ? numbers / groups : numbers;
    Slot slot;
    slot.count = numbers;
    for (uint32_t i = 0; i < numbers; ++i) {
        FoamColumn column{key, headerBase_[header], "", ""};
        if (groups > 0 && numbers % groups == 0)
            column.header += " " + (named ? parts[i / perGroup] : std::to_string(i / perGroup));
        column.component = componentName(perGroup, i % perGroup);
        int probe = 0;
        if (parseWhole(column.header, probe) && probe >= 0 &&
            static_cast<size_t>(probe) < probeLocations_.size())
            column.location = probeLocations_[probe];
        const uint32_t index = columnFor(std::move(column));
        if (i == 0) slot.firstColumn = index;
    }
    layout.push_back(slot);
}

void FoamDataParser::putToken(std::string_view token, const Slot& slot) {
    if (token.front() != '(') {
        if (slot.count != 1 && isNumberStart(token.front()))
            fail("column " + quotedToken(table_.columns[slot.firstColumn].header) +
                 " holds 1 number here, but " + std::to_string(slot.count) + " in its first row");
        if (slot.count == 1 && isNumeric(token))
            table_.cells.push_back({slot.firstColumn, number(token, slot.firstColumn)});
        return;  // a text: no value
    }
    const char* p = token.data();
    const char* const end = p + token.size();
    uint32_t index = 0;
    const size_t first = table_.cells.size();
    while (p < end) {
        if (isBlank(*p) || *p == '(' || *p == ')') {
            ++p;
            continue;
        }
        const char* start = p;
        double value = 0;
        p = readDecimalDoublePrefix(start, end, value);
        if (!p || (p < end && !isBlank(*p) && *p != '(' && *p != ')')) {
            p = start;  // not the common form: the general reader decides
            while (p < end && !isBlank(*p) && *p != '(' && *p != ')') ++p;
            const uint32_t named = slot.firstColumn + std::min(index, slot.count - 1);
            value = number(std::string_view(start, p - start), named);
        }
        if (index < slot.count) table_.cells.push_back({slot.firstColumn + index, value});
        ++index;
    }
    if (index != slot.count) {
        table_.cells.resize(first);
        fail("column " + quotedToken(table_.columns[slot.firstColumn].header) + " holds " +
             std::to_string(index) + " numbers here, but " + std::to_string(slot.count) +
             " in its first row");
    }
}

namespace {
// OpenFOAM writes a probe that lies in no cell as -1e+300 (its VGREAT) or, in
// some openfoam.org releases, -1.79769e+307 (-vGreat, the largest double over
// ten), with as many digits as the file's write precision.
bool isNotFoundPlaceholder(double value) {
    const double magnitude = std::fabs(value);
    for (double placeholder : {1e300, DBL_MAX / 10})
        if (std::fabs(magnitude - placeholder) <= 1e-5 * placeholder) return true;
    return false;
}
}  // namespace

// The value of a numeric field, as the file wrote it; FLT_MAX (no value) for
// a placeholder.
double FoamDataParser::number(std::string_view token, uint32_t column) const {
    double value = 0;
    if (!readSolverNumber(token, value))
        fail("value " + quotedToken(token) +
             (column == kNoColumn ? ""
                                  : " of column " + quotedToken(table_.columns[column].name())) +
             " is not a number");
    return isNotFoundPlaceholder(value) ? FLT_MAX : value;
}

// A row of a solverInfo file: groups of "solver numbers... true|false". The
// groups found are matched to the header's; see FoamSolverGroups.h.
void FoamDataParser::parseSolverRow(std::string_view fields) {
    rowCounts_.clear();
    rowValues_.clear();
    std::string_view field;
    bool closed = true;
    bool open = false;
    while (nextField(fields, field, closed)) {
        if (field == "true" || field == "false") {
            open = false;
        } else if (!isNumeric(field)) {
            rowCounts_.push_back(0);  // a solver's name opens a group
            open = true;
        } else if (open) {
            rowValues_.push_back(number(field, kNoColumn));
            ++rowCounts_.back();
        } else {
            fail("value " + quotedToken(field) + " is outside any field's group of columns");
        }
    }
    alignSolverGroups(groupCounts_, rowCounts_, placement_);
    size_t value = 0;
    for (size_t group = 0; group < rowCounts_.size(); ++group) {
        const int target = placement_[group];
        for (int i = 0; i < rowCounts_[group]; ++i, ++value)
            if (target >= 0) table_.cells.push_back({groupColumns_[target][i], rowValues_[value]});
    }
}

}  // namespace mon
