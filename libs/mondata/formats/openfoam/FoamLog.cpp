#include "libs/mondata/formats/openfoam/FoamLog.h"

#include <algorithm>

#include "libs/mondata/formats/openfoam/FoamLogParser.h"
#include "libs/mondata/text/BlockReader.h"

namespace mon {

namespace {

bool hasLineStartingWith(std::string_view head, std::string_view start) {
    if (head.substr(0, start.size()) == start) return true;
    for (size_t at = head.find('\n'); at != std::string_view::npos; at = head.find('\n', at + 1))
        if (head.substr(at + 1, start.size()) == start) return true;
    return false;
}

std::string_view withoutLeadingSpace(std::string_view text) {
    size_t start = text.find_first_not_of(" \t\r\n");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

bool hasBanner(std::string_view head) {
    return head.substr(0, 5) == "/*---" && head.find("=========") != std::string_view::npos;
}

}  // namespace

bool looksLikeFoamLog(std::string_view head) {
    head = withoutLeadingSpace(head);
    if (head.empty() || head.front() == '#' || head.find("FoamFile") != std::string_view::npos)
        return false;
    return hasBanner(head) || hasLineStartingWith(head, "Build  :") ||
           hasLineStartingWith(head, "Exec   :") ||
           (hasLineStartingWith(head, "Time = ") &&
            head.find("Solving for ") != std::string_view::npos);
}

namespace {
// Read block by block: a long log costs a block and its longest line in
// memory, not its whole size.
void parseFile(const std::string& path, FoamLogParser& parser) {
    BlockReader reader(path);
    reader.feed([&](std::string_view text) { return parser.parseLines(text); });
    parser.finish();
}
}  // namespace

void FoamTableSink::beginRecord(int, int loop, double time) {
    auto& rows = table_.rows;
    if (loop == 1 && !rows.empty() && time <= rows.back().time) {
        auto from =
            std::lower_bound(rows.begin(), rows.end(), time,
                             [](const FoamRow& row, double value) { return row.time < value; });
        if (from != rows.end()) table_.cells.resize(from->firstCell);
        rows.erase(from, rows.end());
        erased = true;
    }
    rows.push_back({time, loop, static_cast<uint32_t>(table_.cells.size())});
    changedFrom = std::min(changedFrom, time);
}

void readFoamLog(const std::string& path, RunDataBuilder& builder, const ReadOptions& options) {
    const std::vector<FoamLogPattern> patterns = compileFoamLogPatterns(options.logPatterns);
    FoamLogParser parser(builder, path, patterns);
    parseFile(path, parser);
    builder.addSourceFile(path);
}

bool readFoamLogTable(const std::string& path, RunDataBuilder& builder,
                      const std::vector<FoamLogPattern>& patterns, FoamTable& table) {
    table = FoamTable();
    FoamTableSink sink(table);
    FoamLogParser parser(builder, path, patterns, &sink);
    parseFile(path, parser);
    if (!parser.hasMonitorValues()) return false;
    builder.addSourceFile(path);
    return true;
}

}  // namespace mon
