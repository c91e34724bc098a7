#include "varinfo/VarInfoGenerator.h"

#include "libs/exception/Error.h"

namespace owl {

VarInfoGenerator::VarInfoGenerator(MonDatabase* db) : database(db) {}
VarInfoGenerator::~VarInfoGenerator() = default;

void VarInfoGenerator::outputVarData(std::ostream&) {
    throw internal::error("RunHistoryWriter", "writeVarInfo",
                          "The variable information document is not available yet.", errorFatal);
}

}  // namespace owl
