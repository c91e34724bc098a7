#include "libs/mondata/formats/openfoam/FoamLog.h"

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

// Read block by block: a long log costs a block and its longest line in
// memory, not its whole size.
void readFoamLog(const std::string& path, RunDataBuilder& builder) {
    FoamLogParser parser(builder, path);
    BlockReader reader(path);
    reader.feed([&](std::string_view text) { return parser.parseLines(text); });
    parser.finish();
    builder.addSourceFile(path);
}

}  // namespace mon
