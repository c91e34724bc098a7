#include "varinfo/VarInfoGenerator.h"

#include <vector>

#include "libs/guiutils/QStringUtils.h"
#include "libs/mondata/MonDatabase.h"
#include "varinfo/VarInfoRecord.h"
#include "varinfo/VarInfoXML.h"

namespace owl {
namespace {

const bool kUseLabels = true;
const char kTreePathSeparator = ';';

VarInfoRecord recordOf(const MonVariable& variable) {
    VarInfoRecord record;
    record.name = variable.getName();
    record.displayName = variable.getPreferredLabel();
    record.treeName = variable.getTreeName(kUseLabels);
    record.treePath =
        QStringUtils::qStringVectorToQString(variable.getTreePath(kUseLabels), kTreePathSeparator);
    return record;
}

}  // namespace

VarInfoGenerator::VarInfoGenerator(MonDatabase* db) : database(db) {}
VarInfoGenerator::~VarInfoGenerator() = default;

void VarInfoGenerator::outputVarData(std::ostream& out) {
    if (!database) return;
    const std::vector<MonVariable> variables = database->getVariableList();
    std::vector<VarInfoRecord> records;
    if (!variables.empty()) records.reserve(variables.size());
    for (const MonVariable& variable : variables) records.push_back(recordOf(variable));
    VarInfoXML writer;
    out << writer.generateXML(records) << std::endl;
}

}  // namespace owl
