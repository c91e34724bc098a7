#include "libs/mondata/text/RecordScan.h"

#include <cfloat>
#include <climits>
#include <cstring>

#include "libs/mondata/model/RunDataBuilder.h"
#include "libs/mondata/text/CommonFloat.h"
#include "libs/mondata/text/DecimalFloat.h"

namespace mon {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* skipBlanks(const char* p, const char* end) {
    while (p < end && isBlank(*p)) ++p;
    return p;
}

// A whole number of at most 10 digits up to the next blank or the line end,
// no larger than limit; null when the token is anything else.
const char* readWhole(const char* p, const char* end, int64_t limit, int32_t& value) {
    const char* start = p;
    int64_t whole = 0;
    for (; p < end && *p >= '0' && *p <= '9' && p - start < 10; ++p)
        whole = whole * 10 + (*p - '0');
    if (p == start || whole > limit || (p < end && !isBlank(*p))) return nullptr;
    value = static_cast<int32_t>(whole);
    return p;
}
}  // namespace

void ScannedPiece::scan(std::string_view text, bool loops) {
    text_ = text;
    lines_.clear();
    values_.clear();
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', end - p));
        if (!lineEnd) lineEnd = end;
        const char* contentEnd = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
        scanLine(p, contentEnd, loops);
        p = lineEnd + 1;
    }
}

void ScannedPiece::scanLine(const char* begin, const char* end, bool loops) {
    ScannedLine& line = lines_.emplace_back();
    line.begin = static_cast<size_t>(begin - text_.data());
    line.length = static_cast<size_t>(end - begin);
    const size_t valuesBefore = values_.size();
    if (!scanRecord(begin, end, loops, line)) {
        line.valueCount = ScannedLine::kNotARecord;
        values_.resize(valuesBefore);
    }
}

bool ScannedPiece::scanRecord(const char* p, const char* end, bool loops, ScannedLine& line) {
    p = readWhole(skipBlanks(p, end), end, INT_MAX, line.step);
    if (p && loops) p = readWhole(skipBlanks(p, end), end, RunDataBuilder::kMaxLoop, line.loop);
    if (!p || (loops && line.loop < 1)) return false;
    return scanValues(p, end, line);
}

bool ScannedPiece::scanValues(const char* p, const char* end, ScannedLine& line) {
    size_t count = 0;
    for (p = skipBlanks(p, end); p < end; p = skipBlanks(p, end), ++count) {
        float value = FLT_MAX;  // "-": no value
        const char* after = *p == '-' && (p + 1 == end || isBlank(p[1]))
                                ? p + 1
                                : readCommonFloatPrefix(p, end, value);
        if (!after || (after < end && !isBlank(*after))) return false;
        values_.push_back(value);
        p = after;
    }
    line.valueCount = count;
    return true;
}

}  // namespace mon
