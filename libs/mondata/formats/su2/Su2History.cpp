#include "libs/mondata/formats/su2/Su2History.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/formats/su2/Su2Variables.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/text/BlockReader.h"
#include "libs/mondata/text/DecimalFloat.h"
#include "libs/mondata/text/SkippedLines.h"
#include "libs/mondata/text/TextScanner.h"
#include "libs/mondata/text/TokenText.h"

namespace mon {

namespace {
const char* const kIterationNames[] = {"Time_Iter", "Outer_Iter", "Inner_Iter"};
// Versions before 7 number their rows in this column.
const std::string_view kLegacyIteration = "Iteration";

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// When the line starts with KEYWORD (any case), blanks and '=', sets rest to
// what follows the '='.
bool isKeywordLine(std::string_view line, std::string_view keyword, std::string_view& rest) {
    line = trimmedField(line);
    if (line.size() <= keyword.size()) return false;
    for (size_t i = 0; i < keyword.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != keyword[i]) return false;
    std::string_view after = trimmedField(line.substr(keyword.size()));
    if (after.empty() || after.front() != '=') return false;
    rest = trimmedField(after.substr(1));
    return true;
}

bool isZoneLine(std::string_view line) {
    line = trimmedField(line);
    if (line.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::toupper(static_cast<unsigned char>(line[i])) != "ZONE"[i]) return false;
    return line.size() == 4 || line[4] == ' ' || line[4] == '\t' || line[4] == 'T';
}

// The fields of a comma-separated line; a comma inside quotes separates nothing.
std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] != ',' || quoted) continue;
        fields.push_back(line.substr(start, i - start));
        start = i + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

std::string_view unquoted(std::string_view field) {
    field = trimmedField(field);
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

}  // namespace

class Su2Parser {
  public:
    explicit Su2Parser(const std::string& fileName) : skipped_(fileName) {
        table_.fileName = fileName;
    }
    // Parses the complete lines of a piece of the file and returns how many
    // bytes they take; the rest, an unfinished line, comes again with the
    // next piece. finish() returns the table after the last piece.
    size_t parseLines(std::string_view text);
    Su2Table finish() {
        table_.skipped = skipped_.warning();
        return std::move(table_);
    }
    // The rows read since the last call and their warning; the parser keeps
    // the header.
    Su2Table takeRows();

  private:
    void parseLine(std::string_view line);
    void parseHeader(std::string_view line);
    void assignColumn(std::string_view name, size_t column);
    void checkName(std::string_view name, size_t column) const;
    int iterationOf(std::string_view name) const;
    void parseRow(std::string_view line);
    std::string readRow(std::string_view line);
    const char* parseField(const char* p, const char* end, size_t column, std::string& problem);
    [[noreturn]] void fail(const std::string& what) const;

    Su2Table table_;
    size_t lineNumber_ = 0;
    bool headerRead_ = false;
    bool headerNext_ = false;  // "VARIABLES = \" came: the names follow
    size_t columnCount_ = 0;
    // Per column: the iteration it holds (-1 - Su2Table::Iteration) or its
    // value column (from 0).
    std::vector<int> target_;
    std::vector<std::string> headerNames_;
    SkippedLines skipped_;
};

void Su2Parser::fail(const std::string& what) const {
    std::string where = owl::printable(table_.fileName);
    if (lineNumber_ > 0) where += ":" + std::to_string(lineNumber_);
    throw owl::data::error("MonDatabase", "updateFrom", where + ": " + what, owl::errorFatal);
}

size_t Su2Parser::parseLines(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const void* found = std::memchr(text.data() + pos, '\n', text.size() - pos);
        if (!found) break;  // the solver is still writing this line
        size_t end = static_cast<size_t>(static_cast<const char*>(found) - text.data());
        ++lineNumber_;
        parseLine(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return pos;
}

void Su2Parser::parseLine(std::string_view line) {
    if (trimmedField(line).empty() || isZoneLine(line)) return;
    if (headerRead_) return parseRow(line);
    std::string_view rest;
    if (headerNext_ || isKeywordLine(line, "TITLE", rest)) {
        if (headerNext_) parseHeader(line);
        return;
    }
    if (!isKeywordLine(line, "VARIABLES", rest)) return parseHeader(line);
    if (rest.empty() || rest == "\\")
        headerNext_ = true;
    else
        parseHeader(rest);
}

void Su2Parser::parseHeader(std::string_view line) {
    std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() > 1 && trimmedField(fields.back()).empty())
        fields.pop_back();  // trailing comma
    for (size_t column = 0; column < fields.size(); ++column)
        assignColumn(unquoted(fields[column]), column);
    columnCount_ = fields.size();
    headerRead_ = true;
}

void Su2Parser::checkName(std::string_view name, size_t column) const {
    if (name.empty()) fail("column " + std::to_string(column + 1) + " of the header has no name");
    if (recordKeyOf(name) != RecordKey::None)
        fail(quotedToken(name) + " is the name of a record key and cannot be a column");
    for (size_t earlier = 0; earlier < headerNames_.size(); ++earlier)
        if (headerNames_[earlier] == name)
            fail("column " + quotedToken(name) + " appears twice in the header (columns " +
                 std::to_string(earlier + 1) + " and " + std::to_string(column + 1) + ")");
}

// The iteration a column holds, or kIterations for a value column. The
// legacy "Iteration" is the inner iteration unless the file has that.
int Su2Parser::iterationOf(std::string_view name) const {
    for (int which = 0; which < Su2Table::kIterations; ++which)
        if (name == kIterationNames[which]) return which;
    if (name == kLegacyIteration && !table_.hasIteration[Su2Table::kInner]) return Su2Table::kInner;
    return Su2Table::kIterations;
}

void Su2Parser::assignColumn(std::string_view name, size_t column) {
    checkName(name, column);
    headerNames_.emplace_back(name);
    const int which = iterationOf(name);
    if (which < Su2Table::kIterations && !table_.hasIteration[which]) {
        table_.hasIteration[which] = true;
        target_.push_back(-1 - which);
        return;
    }
    target_.push_back(static_cast<int>(table_.names.size()));
    table_.names.emplace_back(name);
}

// A row that does not read is taken back and skipped.
void Su2Parser::parseRow(std::string_view line) {
    table_.lines.push_back(lineNumber_);
    table_.iterations.resize(table_.iterations.size() + Su2Table::kIterations, 0);
    table_.values.resize(table_.values.size() + table_.names.size(), 0.0);
    ++table_.rowCount;
    const std::string problem = readRow(line);
    if (problem.empty()) return;
    --table_.rowCount;
    table_.lines.pop_back();
    table_.iterations.resize(table_.rowCount * Su2Table::kIterations);
    table_.values.resize(table_.rowCount * table_.names.size());
    skipped_.add(lineNumber_, problem);
}

// Reads the fields of a row into the table's last row; returns what is wrong
// with it, or nothing.
std::string Su2Parser::readRow(std::string_view line) {
    const char* p = line.data();
    const char* const end = p + line.size();
    std::string problem;
    size_t column = 0;
    for (;; ++column) {
        if (column == columnCount_) {
            // Only the empty field after a trailing comma may follow.
            if (trimmedField(std::string_view(p, static_cast<size_t>(end - p))).empty()) return "";
            return "row has more values than the " + std::to_string(columnCount_) +
                   " columns of the header";
        }
        p = parseField(p, end, column, problem);
        if (!p) return problem;
        if (p == end) break;
        ++p;  // the comma
    }
    if (column + 1 != columnCount_)
        return "row has " + std::to_string(column + 1) + " values but the header names " +
               std::to_string(columnCount_) + " columns";
    return "";
}

// Reads the field at p (up to the next comma or the end) into the current
// row; returns where it ends, or null with the problem.
const char* Su2Parser::parseField(const char* p, const char* end, size_t column,
                                  std::string& problem) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    const int target = target_[column];
    const size_t row = table_.rowCount - 1;
    if (target >= 0) {
        double& value = table_.values[row * table_.names.size() + static_cast<size_t>(target)];
        const char* after = readDecimalDoublePrefix(p, end, value);
        while (after && after < end && isBlank(*after)) ++after;
        if (after && (after == end || *after == ',')) return after;
    }
    const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(end - p)));
    const char* fieldEnd = comma ? comma : end;
    std::string_view token = trimmedField(std::string_view(p, static_cast<size_t>(fieldEnd - p)));
    if (target >= 0) {
        double& value = table_.values[row * table_.names.size() + static_cast<size_t>(target)];
        if (!readSolverNumber(token, value)) {
            problem = "value " + quotedToken(token) + " of column " +
                      quotedToken(headerNames_[column]) + " is not a number";
            return nullptr;
        }
    } else {
        int& iteration = table_.iterations[row * Su2Table::kIterations + (-1 - target)];
        if (!parseWhole(token, iteration) || iteration < 0) {
            problem = "iteration " + quotedToken(token) + " of column " +
                      quotedToken(headerNames_[column]) +
                      " is not a whole number from 0 to 2147483647";
            return nullptr;
        }
    }
    return fieldEnd;
}

Su2Table Su2Parser::takeRows() {
    Su2Table rows;
    rows.fileName = table_.fileName;
    rows.names = table_.names;
    std::copy(std::begin(table_.hasIteration), std::end(table_.hasIteration), rows.hasIteration);
    rows.rowCount = std::exchange(table_.rowCount, 0);
    rows.lines = std::exchange(table_.lines, {});
    rows.iterations = std::exchange(table_.iterations, {});
    rows.values = std::exchange(table_.values, {});
    rows.skipped = skipped_.warning();
    skipped_ = SkippedLines(table_.fileName);
    return rows;
}

Su2HistoryReader::Su2HistoryReader(const std::string& fileName)
    : parser_(std::make_unique<Su2Parser>(fileName)) {}

Su2HistoryReader::~Su2HistoryReader() = default;

size_t Su2HistoryReader::parseLines(std::string_view text) {
    return parser_->parseLines(text);
}

Su2Table Su2HistoryReader::takeRows() {
    return parser_->takeRows();
}

namespace {
// The next non-blank line of the text (all of the rest when it has no line
// end), which is taken off the text.
std::string_view takeLine(std::string_view& text) {
    std::string_view line;
    while (line.empty() && !text.empty()) {
        const size_t end = text.find('\n');
        line = trimmedField(text.substr(0, end));
        text.remove_prefix(end == text.npos ? text.size() : end + 1);
    }
    return line;
}

// Whether a header names a column that only an SU2 history has; other
// Tecplot and CSV files (SU2's own solution files among them) do not.
bool namesHistoryColumn(std::string_view header) {
    if (header.empty() || header.front() != '"') return false;
    for (const char* name : {"\"Time_Iter\"", "\"Outer_Iter\"", "\"Inner_Iter\"", "\"Iteration\"",
                             "\"rms[", "\"max[", "\"bgs[", "\"Res_"})
        if (header.find(name) != std::string_view::npos) return true;
    return false;
}
}  // namespace

bool Su2Table::varies(Iteration which) const {
    for (size_t row = 1; row < rowCount; ++row)
        if (iteration(row, which) != iteration(0, which)) return true;
    return false;
}

bool isSu2History(std::string_view head) {
    if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
    std::string_view line = takeLine(head);
    std::string_view rest;
    if (isKeywordLine(line, "TITLE", rest)) line = takeLine(head);
    if (isKeywordLine(line, "VARIABLES", rest))
        line = rest.empty() || rest == "\\" ? takeLine(head) : rest;
    return namesHistoryColumn(line);
}

Su2Table parseSu2History(const std::string& fileName, std::string_view text) {
    Su2Parser parser(fileName);
    parser.parseLines(text);
    return parser.finish();
}

Su2Table readSu2HistoryFile(const std::string& path, size_t blockBytes) {
    Su2Parser parser(path);
    BlockReader reader(path, blockBytes);
    reader.feed([&](std::string_view text) { return parser.parseLines(text); });
    return parser.finish();
}

}  // namespace mon
