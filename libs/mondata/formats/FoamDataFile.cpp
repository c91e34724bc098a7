#include "libs/mondata/formats/FoamDataFile.h"

#include "libs/mondata/formats/BlockReader.h"
#include "libs/mondata/formats/FoamDataParser.h"

namespace mon {

FoamTable readFoamDataFile(const std::string& path) {
    const std::string text = readWholeFile(path);
    return FoamDataParser(path).parse(text);
}

}  // namespace mon
