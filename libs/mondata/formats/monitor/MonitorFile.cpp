#include "libs/mondata/formats/monitor/MonitorFile.h"

#include "libs/mondata/text/BlockReader.h"

namespace mon {

namespace {
void parseFile(const std::string& path, MonitorFileParser& parser, uint64_t runBytes,
               uint64_t runFiles, BlockReader::Buffer* buffer = nullptr) {
    BlockReader reader(path, BlockReader::kBlockBytes, buffer);
    parser.expectRunBytes(runBytes > 0 ? runBytes : reader.size(), runFiles);
    reader.feed([&](std::string_view text) { return parser.parseLines(text); });
}
}  // namespace

void readMonitorFile(const std::string& path, RunDataBuilder& builder, bool firstSegment,
                     std::string meantAs) {
    MonitorFileParser parser(builder, path, firstSegment);
    parser.setMeantAs(std::move(meantAs));
    parseFile(path, parser, 0, 1);
    parser.requireFirstLine();
    builder.addSourceFile(path);
}

bool readMonitorSegment(const std::string& path, RunDataBuilder& builder, bool firstSegment,
                        RunSegments& run) {
    MonitorFileParser parser(builder, path, firstSegment);
    parser.shareDeclarations(run.declarations);
    parser.sharePieces(run.pieces);
    parseFile(path, parser, run.bytes, run.files, &run.buffer);
    return parser.hasFirstLine();
}

}  // namespace mon
