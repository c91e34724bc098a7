#include "libs/mondata/formats/MonitorFileParser.h"

#include <algorithm>
#include <cstring>

#include "libs/exception/Error.h"
#include "libs/exception/MessageText.h"
#include "libs/mondata/MemoryBudget.h"
#include "libs/mondata/formats/DecimalFloat.h"
#include "libs/mondata/formats/SourceFormats.h"
#include "libs/mondata/formats/TextScanner.h"
#include "libs/utilities/Utf8.h"

namespace mon {

namespace {
const std::string_view kMagic = "monitor-file";
const std::string_view kLoopsFlag = "coefficient-loops";
const char* const kAccumulatedTimestep = "ACCUMULATED TIMESTEP";
const char* const kCoefficientLoop = "COEFFICIENT LOOP";

// A name or token as a message quotes it: its control characters escaped,
// so that a line feed in it cannot break the report's lines.
std::string quoted(std::string_view text) {
    return "'" + owl::printable(text) + "'";
}

// "not a monitor file, X or Y": a file that fails here may have been meant
// as any of the kinds -mon reads. The monitor file (the last, fallback
// format) comes first.
std::string notAKnownFile() {
    std::vector<FileFormat> formats = monitorFileFormats();
    std::rotate(formats.begin(), formats.end() - 1, formats.end());
    return "not a " + expectedFormats(formats);
}

// A token of the file, shortened to its first 40 bytes.
std::string show(std::string_view token) {
    const size_t kMax = 40;
    if (token.size() <= kMax) return quoted(token);
    return quoted(std::string(token.substr(0, kMax)) + "...");
}
}  // namespace

MonitorFileParser::MonitorFileParser(RunDataBuilder& builder, std::string fileName,
                                     bool firstSegment)
    : builder_(builder), fileName_(std::move(fileName)), firstSegment_(firstSegment) {}

void MonitorFileParser::fail(const std::string& what) const {
    std::string where = owl::printable(fileName_);
    if (lineNumber_ > 0) where += ":" + std::to_string(lineNumber_);
    throw owl::data::error("MonDatabase", "updateFrom", where + ": " + what, owl::errorFatal);
}

void MonitorFileParser::parse(std::string_view text) {
    parseLines(text);
    requireFirstLine();
}

size_t MonitorFileParser::parseLines(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const void* found = std::memchr(text.data() + pos, '\n', text.size() - pos);
        if (!found) break;  // unfinished last line
        size_t end = static_cast<size_t>(static_cast<const char*>(found) - text.data());
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNumber_;
        if (lineNumber_ == 1)
            parseHeader(line);
        else
            parseLine(line);
        pos = end + 1;
    }
    return pos;
}

void MonitorFileParser::requireFirstLine() const {
    if (lineNumber_ == 0)
        fail(notAKnownFile() + ": it has no complete first line (expected '" + std::string(kMagic) +
             " 1')");
}

void MonitorFileParser::parseHeader(std::string_view line) {
    TextScanner scan(line);
    if (scan.word() != kMagic)
        fail(notAKnownFile() + ": the first line must start with '" + std::string(kMagic) + " 1'");
    std::string_view version = scan.word();
    if (version != "1") fail("unsupported monitor file version " + show(version) + " (expected 1)");
    bool loops = false;
    for (std::string_view flag = scan.word(); !flag.empty(); flag = scan.word()) {
        if (flag != kLoopsFlag) fail("unknown header flag " + show(flag));
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
    fail("unexpected text " + show(text) + "; expected a record, a 'var' declaration or a comment");
}

void MonitorFileParser::parseRecord(std::string_view line) {
    TextScanner scan(line);
    std::string_view stepText = scan.word();
    int step = 0;
    if (!parseWhole(stepText, step) || step < 0)
        fail("time step " + show(stepText) + " is not a whole number from 0 to 2147483647");
    int loop = 1;
    if (builder_.hasCoefficientLoops()) {
        std::string_view loopText = scan.word();
        if (loopText.empty())
            fail("record of time step " + std::to_string(step) + " has no coefficient loop");
        if (!parseWhole(loopText, loop) || loop < 1 || loop > RunDataBuilder::kMaxLoop)
            fail("coefficient loop " + show(loopText) + " is not a whole number from 1 to " +
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
    fail("value " + show(token) + " of variable " + name +
         (read == FloatRead::NotANumber ? " is not a number"
                                        : " is outside the single-precision range"));
}

void MonitorFileParser::parseDeclaration(std::string_view line) {
    TextScanner scan(line);
    scan.word();  // "var"
    VariableInfo info;
    std::string error;
    std::string name;
    if (!scan.text(name, error)) fail("variable name: " + error);
    if (name.empty()) fail("variable name must not be empty");
    info.name = owl::utf8::toQString(name);
    if (name == kAccumulatedTimestep || name == kCoefficientLoop)
        fail(quoted(name) + " is the name of a record key and cannot be declared");
    while (scan.skipBlanks(), !scan.atEnd()) {
        std::string key, value;
        if (!scan.attribute(key, value, error)) fail(error);
        QString lowerKey = owl::utf8::toQString(key).toLower();
        if (!info.attribute(lowerKey).isNull())
            fail("attribute " + quoted(key) + " of variable " + quoted(name) + " is given twice");
        info.attributes.emplace_back(lowerKey, owl::utf8::toQString(value));
    }
    auto earlier = declaredOnLine_.constFind(info.name);
    if (earlier != declaredOnLine_.constEnd())
        fail("variable " + quoted(name) + " is already declared on line " +
             std::to_string(earlier.value()));
    declaredOnLine_.insert(info.name, lineNumber_);
    columnOfField_.push_back(builder_.declare(std::move(info)));
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
