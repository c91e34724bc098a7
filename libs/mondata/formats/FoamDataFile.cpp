#include "libs/mondata/formats/FoamDataFile.h"

#include "libs/mondata/formats/FoamDataParser.h"
#include "libs/mondata/formats/MappedFile.h"

namespace mon {

FoamTable readFoamDataFile(const std::string& path) {
    MappedFile file(path);
    return FoamDataParser(path).parse(std::string_view(file.data(), file.size()));
}

}  // namespace mon
