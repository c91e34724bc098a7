#include "libs/mondata/formats/MonitorFile.h"

#include "libs/mondata/formats/MappedFile.h"
#include "libs/mondata/formats/MonitorFileParser.h"

namespace mon {

void readMonitorFile(const std::string& path, RunDataBuilder& builder, bool firstSegment) {
    MappedFile file(path);
    MonitorFileParser parser(builder, path, firstSegment);
    parser.parse(std::string_view(file.data(), file.size()));
    builder.addSourceFile(path);
}

}  // namespace mon
