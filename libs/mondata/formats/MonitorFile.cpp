#include "libs/mondata/formats/MonitorFile.h"

#include "libs/mondata/formats/BlockReader.h"
#include "libs/mondata/formats/MonitorFileParser.h"

namespace mon {

namespace {
void parseFile(const std::string& path, MonitorFileParser& parser) {
    BlockReader reader(path);
    size_t consumed = 0;
    for (std::string_view text = reader.next(0); !text.empty(); text = reader.next(consumed))
        consumed = parser.parseLines(text);
}
}  // namespace

void readMonitorFile(const std::string& path, RunDataBuilder& builder, bool firstSegment) {
    MonitorFileParser parser(builder, path, firstSegment);
    parseFile(path, parser);
    parser.requireFirstLine();
    builder.addSourceFile(path);
}

bool readMonitorSegment(const std::string& path, RunDataBuilder& builder, bool firstSegment) {
    MonitorFileParser parser(builder, path, firstSegment);
    parseFile(path, parser);
    return parser.hasFirstLine();
}

}  // namespace mon
