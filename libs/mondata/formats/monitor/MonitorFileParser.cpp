#include "libs/mondata/formats/monitor/MonitorFileParser.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/model/MemoryBudget.h"
#include "libs/mondata/model/RecordKey.h"
#include "libs/mondata/text/DecimalFloat.h"
#include "libs/mondata/text/PieceScan.h"
#include "libs/mondata/text/TextScanner.h"
#include "libs/mondata/text/TokenText.h"
#include "libs/system/UsableCores.h"
#include "libs/utilities/Utf8.h"

namespace mon {

namespace {
const std::string_view kMagic = "monitor-file";
const std::string_view kLoopsFlag = "coefficient-loops";

// A name or token as a message quotes it: its control characters escaped,
// so that a line feed in it cannot break the report's lines.
std::string quoted(std::string_view text) {
    return "'" + owl::printable(text) + "'";
}

std::string_view withoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// The first bytes of text up to a line end found at or after `from`: a
// piece of whole lines.
size_t cutAtLineEnd(std::string_view text, size_t from) {
    if (from >= text.size()) return text.size();
    const void* found = std::memchr(text.data() + from, '\n', text.size() - from);
    return found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) + 1
                 : text.size();
}

// The lines at the start of text (whole lines) that begin with prefix: how
// many, and the bytes they take with their line ends.
std::pair<size_t, size_t> leadingLines(std::string_view text, std::string_view prefix) {
    size_t lines = 0, end = 0;
    while (text.compare(end, prefix.size(), prefix) == 0) {
        const size_t lineEnd = text.find('\n', end);
        if (lineEnd == std::string_view::npos) break;
        end = lineEnd + 1;
        ++lines;
    }
    return {lines, end};
}

std::atomic<unsigned> forcedWorkers{0};
}  // namespace

unsigned defaultWorkers() {
    const unsigned forced = forcedWorkers.load();
    return forced > 0 ? forced : std::min(owl::usableCores(), 8u);
}

void forceLoadWorkers(unsigned workers) {
    forcedWorkers.store(workers);
}

MonitorFileParser::MonitorFileParser(RunDataBuilder& builder, std::string fileName,
                                     bool firstSegment)
    : builder_(builder), fileName_(std::move(fileName)), firstSegment_(firstSegment) {}

void MonitorFileParser::fail(const std::string& what) const {
    std::string where = owl::printable(fileName_);
    if (lineNumber_ > 0) where += ":" + std::to_string(lineNumber_);
    throw owl::data::error("MonDatabase", "updateFrom", where + ": " + what, owl::errorFatal);
}

void MonitorFileParser::setWorkers(unsigned workers, size_t pieceBytes) {
    workers_ = workers;
    pieceBytes_ = std::max<size_t>(pieceBytes, 1);
}

void MonitorFileParser::parse(std::string_view text) {
    if (expectedRunBytes_ == 0) expectedRunBytes_ = text.size();
    parseLines(text);
    requireFirstLine();
}

// The header is read first, alone: it says how records look. The lines after
// it go to parseBody() in pieces; the last line is left
// when it has no line end yet.
size_t MonitorFileParser::parseLines(std::string_view text) {
    const bool starts = lineNumber_ == 0;
    size_t pos = starts ? parseFirstLine(text) : 0;
    const size_t taken = starts && lineNumber_ > 0 ? takeLeadingDeclarations(text.substr(pos)) : 0;
    pos += taken;
    const size_t lastLineEnd = text.rfind('\n');
    if (lineNumber_ == 0 || lastLineEnd == std::string_view::npos || lastLineEnd < pos) return pos;
    const std::string_view body = text.substr(pos, lastLineEnd + 1 - pos);
    parseBody(body);
    if (starts && taken == 0) keepLeadingDeclarations(body);
    return lastLineEnd + 1;
}

// A segment that starts (after its comments) with the very declaration
// lines the last one kept declares the same fields: they are taken without
// reading the lines.
size_t MonitorFileParser::takeLeadingDeclarations(std::string_view text) {
    if (!knownDeclarations_) return 0;
    const KnownDeclarations& known = *knownDeclarations_;
    const std::string& lines = known.leadingLines;
    const auto [comments, commentBytes] = leadingLines(text, "#");
    if (lines.empty() || text.substr(commentBytes, lines.size()) != lines) return 0;
    const size_t taken = commentBytes + lines.size();
    if (builder_.reservedRecords() == 0) headerBytes_ += taken;
    lineNumber_ += comments;
    for (int column : known.leadingColumns) {
        ++lineNumber_;
        addField(column);
    }
    return taken;
}

// Keeps the declaration lines the file starts with after its comments, just
// parsed (its first fields), for the next segment to compare with at once.
void MonitorFileParser::keepLeadingDeclarations(std::string_view body) {
    if (!knownDeclarations_) return;
    body.remove_prefix(leadingLines(body, "#").second);
    const auto [lines, bytes] = leadingLines(body, "var ");
    if (lines == 0 || lines > columnOfField_.size()) return;
    knownDeclarations_->leadingLines.assign(body.substr(0, bytes));
    knownDeclarations_->leadingColumns.assign(columnOfField_.begin(),
                                              columnOfField_.begin() + static_cast<long>(lines));
}

size_t MonitorFileParser::parseFirstLine(std::string_view text) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos) return 0;
    ++lineNumber_;
    headerBytes_ += end + 1;
    parseHeader(withoutCarriageReturn(text.substr(0, end)));
    return end + 1;
}

// The pieces are scanned on the workers while this thread applies them in
// file order. A small text is not split below a quarter of a piece, where a
// thread would cost more than it saves; a text of one piece (a run
// directory's segments, often) does not even count the cores.
void MonitorFileParser::parseBody(std::string_view text) {
    const size_t workers = workers_ > 0                     ? workers_
                           : text.size() <= pieceBytes_ / 4 ? 1
                                                            : defaultWorkers();
    const size_t pieceBytes =
        std::min(pieceBytes_, std::max(text.size() / workers, pieceBytes_ / 4));
    pieceTexts_.clear();
    while (!text.empty()) {
        const size_t cut = cutAtLineEnd(text, pieceBytes - 1);
        pieceTexts_.push_back(text.substr(0, cut));
        text.remove_prefix(cut);
    }
    PieceScan scan(pieceTexts_, *pieces_, builder_.hasCoefficientLoops(),
                   static_cast<unsigned>(workers - 1));
    for (size_t i = 0; i < pieceTexts_.size(); ++i) applyPiece(scan.get(i));
}

// Records the workers read are appended as they are, in runs written a
// column at a time; every other line, and a record with more values than the
// fields declared so far, goes through parseLine() as if read alone, which
// gives it its message and line number. A run ends before such a line and
// before a restart.
void MonitorFileParser::applyPiece(const ScannedPiece& piece) {
    const float* values = piece.values().data();
    for (const ScannedLine& line : piece.lines()) {
        ++lineNumber_;
        if (builder_.reservedRecords() == 0) headerBytes_ += line.length + 1;
        if (line.isRecord() && line.valueCount <= columnOfField_.size()) {
            appendRecord(line, values);
        } else {
            setPendingValues();
            parseLine(piece.lineText(line));
        }
        if (line.isRecord()) values += line.valueCount;
    }
    setPendingValues();
}

void MonitorFileParser::appendRecord(const ScannedLine& line, const float* values) {
    if (builder_.reservedRecords() == 0) reserveRecords(line.length + 1);
    if (!builder_.continuesRun(line.step, line.loop)) setPendingValues();
    builder_.beginRecord(line.step, line.loop);
    checkMemory();
    pending_.push_back({values, line.valueCount});
}

void MonitorFileParser::setPendingValues() {
    if (pending_.empty()) return;
    builder_.setRecordValues(columnOfField_, pending_);
    pending_.clear();
}

// Estimates the run's records from the first one's length and the lines
// before it, which each file of the run is taken to repeat (the segments of
// a run directory repeat their declarations), so that columns grow without
// moving. The estimate only sizes the room: never more than half the memory
// budget, and a wrong one costs memory or moves. Segments' headers vary
// more than records, hence the wider margin for runs of many files.
void MonitorFileParser::reserveRecords(uint64_t recordBytes) {
    const uint64_t variables = std::max<uint64_t>(builder_.variableCount(), 1);
    const uint64_t mostRecords = memoryBudget() / 2 / (variables * sizeof(float));
    const uint64_t headers = std::min(expectedRunBytes_, headerBytes_ * expectedRunFiles_);
    const uint64_t expected = (expectedRunBytes_ - headers) / recordBytes + 1;
    const uint64_t margin = expected / (expectedRunFiles_ > 1 ? 4 : 16);
    builder_.reserveRecords(static_cast<int64_t>(std::min(expected + margin, mostRecords)));
}

void MonitorFileParser::requireFirstLine() const {
    if (lineNumber_ == 0)
        throw owl::data::noRecordsYet(
            "MonDatabase", "updateFrom",
            owl::printable(fileName_) +
                ": the run has no records yet: the file has no complete first line (expected "
                "that of a " +
                meantAs_ + ")",
            owl::errorFatal);
}

void MonitorFileParser::parseHeader(std::string_view line) {
    TextScanner scan(line);
    if (scan.word() != kMagic)
        fail("not a " + meantAs_ + ": the first line must start with '" + std::string(kMagic) +
             " 1'");
    std::string_view version = scan.word();
    if (version != "1")
        fail("unsupported monitor file version " + quotedToken(version) + " (expected 1)");
    bool loops = false;
    for (std::string_view flag = scan.word(); !flag.empty(); flag = scan.word()) {
        if (flag != kLoopsFlag) fail("unknown header flag " + quotedToken(flag));
        loops = true;
    }
    if (firstSegment_)
        builder_.setCoefficientLoops(loops);
    else if (loops != builder_.hasCoefficientLoops())
        fail(loops ? "records carry coefficient loops, but the earlier segments' do not"
                   : "records carry no coefficient loops, but the earlier segments' do");
}

void MonitorFileParser::parseLine(std::string_view line) {
    TextScanner scan(line);
    scan.skipBlanks();
    if (scan.atEnd() || scan.peek() == '#') return;
    char first = scan.peek();
    if (first >= '0' && first <= '9') return parseRecord(line);
    std::string_view text = scan.rest();
    if (scan.word() == "var") return parseDeclaration(line);
    fail("unexpected text " + quotedToken(text) +
         "; expected a record, a 'var' declaration or a comment");
}

void MonitorFileParser::parseRecord(std::string_view line) {
    TextScanner scan(line);
    std::string_view stepText = scan.word();
    int step = 0;
    if (!parseWhole(stepText, step) || step < 0)
        fail("time step " + quotedToken(stepText) + " is not a whole number from 0 to 2147483647");
    int loop = 1;
    if (builder_.hasCoefficientLoops()) {
        std::string_view loopText = scan.word();
        if (loopText.empty())
            fail("record of time step " + std::to_string(step) + " has no coefficient loop");
        if (!parseWhole(loopText, loop) || loop < 1 || loop > RunDataBuilder::kMaxLoop)
            fail("coefficient loop " + quotedToken(loopText) + " is not a whole number from 1 to " +
                 std::to_string(RunDataBuilder::kMaxLoop));
    }
    builder_.beginRecord(step, loop);
    checkMemory();
    parseValues(scan.rest());
}

// The hot loop of loading: most values take the fast decimal reader straight
// from the line; the rest (and "-", no value) go through parseValue.
void MonitorFileParser::parseValues(std::string_view values) {
    const char* p = values.data();
    const char* const end = p + values.size();
    for (size_t field = 0;; ++field) {
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        if (p == end) return;
        if (field >= columnOfField_.size())
            fail("record has more values than the " + std::to_string(columnOfField_.size()) +
                 " variables declared so far");
        float value = 0;
        const char* after = readDecimalFloatPrefix(p, end, value);
        if (!after || (after < end && *after != ' ' && *after != '\t')) {
            after = p;
            while (after < end && *after != ' ' && *after != '\t') ++after;
            std::string_view token(p, static_cast<size_t>(after - p));
            p = after;
            if (token == "-") continue;  // no value
            value = parseValue(token, field);
        }
        p = after;
        builder_.setValue(columnOfField_[field], value);
    }
}

float MonitorFileParser::parseValue(std::string_view token, size_t field) const {
    float value = 0;
    const FloatRead read = readFloatValue(token, value);
    if (read == FloatRead::Ok) return value;
    const std::string name = quoted(builder_.variableName(columnOfField_[field]).toStdString());
    fail("value " + quotedToken(token) + " of variable " + name +
         (read == FloatRead::NotANumber ? " is not a number"
                                        : " is outside the single-precision range"));
}

// A line an earlier segment declared already takes a lookup; a line new to
// the run (or declaring a name twice in this file) is parsed in full.
void MonitorFileParser::parseDeclaration(std::string_view line) {
    const int known = knownColumn(line);
    if (known >= 0 && !declaredInFile(known)) return addField(known);
    TextScanner scan(line);
    scan.word();  // "var"
    VariableInfo info;
    std::string error;
    std::string name;
    if (!scan.text(name, error)) fail("variable name: " + error);
    if (name.empty()) fail("variable name must not be empty");
    info.name = owl::utf8::toQString(name);
    if (recordKeyOf(name) != RecordKey::None)
        fail(quoted(name) + " is the name of a record key and cannot be declared");
    while (scan.skipBlanks(), !scan.atEnd()) {
        std::string key, value;
        if (!scan.attribute(key, value, error)) fail(error);
        QString lowerKey = owl::utf8::toQString(key).toLower();
        if (!info.attribute(lowerKey).isNull())
            fail("attribute " + quoted(key) + " of variable " + quoted(name) + " is given twice");
        info.attributes.emplace_back(lowerKey, owl::utf8::toQString(value));
    }
    const int earlier = builder_.columnOf(info.name);
    if (earlier >= 0 && declaredInFile(earlier))
        fail("variable " + quoted(name) + " is already declared on line " +
             std::to_string(lineOfColumn_[static_cast<size_t>(earlier)]));
    const int column = builder_.declare(std::move(info));
    if (knownDeclarations_) knownDeclarations_->byText.emplace(std::string(line), column);
    addField(column);
}

int MonitorFileParser::knownColumn(std::string_view line) {
    if (!knownDeclarations_) return -1;
    lookupKey_.assign(line);
    const auto found = knownDeclarations_->byText.find(lookupKey_);
    return found == knownDeclarations_->byText.end() ? -1 : found->second;
}

bool MonitorFileParser::declaredInFile(int column) const {
    const size_t index = static_cast<size_t>(column);
    return index < lineOfColumn_.size() && lineOfColumn_[index] > 0;
}

void MonitorFileParser::addField(int column) {
    const size_t index = static_cast<size_t>(column);
    if (lineOfColumn_.size() <= index) lineOfColumn_.resize(index + 1, 0);
    lineOfColumn_[index] = lineNumber_;
    columnOfField_.push_back(column);
    checkMemory();
}

// Every variable takes a float per record: a file with many variables and
// many records can need more memory than the machine has, though it is small.
void MonitorFileParser::checkMemory() const {
    const uint64_t needed = builder_.valueBytes(), budget = memoryBudget();
    if (needed <= budget) return;
    const uint64_t mebibyte = 1 << 20;
    fail("the run needs more memory than there is: its " +
         std::to_string(builder_.variableCount()) + " variables at " +
         std::to_string(builder_.recordCount()) + " records take " +
         std::to_string(needed / mebibyte) + " MiB of values, and " +
         std::to_string(budget / mebibyte) + " MiB are available");
}

}  // namespace mon
