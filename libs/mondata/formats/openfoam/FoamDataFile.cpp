#include "libs/mondata/formats/openfoam/FoamDataFile.h"

#include "libs/mondata/formats/openfoam/FoamDataParser.h"
#include "libs/mondata/text/BlockReader.h"

namespace mon {

// Read block by block: a large file costs its values and a block, not its
// text as well.
FoamTable readFoamDataFile(const std::string& path) {
    FoamDataParser parser(path);
    BlockReader reader(path);
    parser.reserveFor(reader.size());
    reader.feed([&](std::string_view text) { return parser.parseLines(text); });
    return parser.finish();
}

}  // namespace mon
