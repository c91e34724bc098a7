#include "varinfo/VarInfoGenerator.h"

#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/VariableInfo.h"
#include "varinfo/VarInfoRecord.h"
#include "varinfo/VarInfoXML.h"

namespace owl {
namespace {

const bool kUseLabels = true;
const char kTreePathSeparator = ';';

// Fills the record in place: its texts keep their capacity from one
// variable to the next.
void fillRecord(const MonVariable& variable, VarInfoRecord& record) {
    record.name = variable.getName();
    record.displayName = variable.getPreferredLabel();
    record.treeName = variable.getTreeName(kUseLabels);
    record.treePath.resize(0);
    bool first = true;
    for (const QString& step : variable.getTreePath(kUseLabels)) {
        if (!first) record.treePath += QLatin1Char(kTreePathSeparator);
        record.treePath += step;
        first = false;
    }
    record.scale = variable.getAttribute(mon::scaleKey());
}

}  // namespace

VarInfoGenerator::VarInfoGenerator(MonDatabase* db) : database(db) {}
VarInfoGenerator::~VarInfoGenerator() = default;

void VarInfoGenerator::outputVarData(std::ostream& out) {
    if (!database) return;
    VarInfoXML writer;
    writer.begin(out);
    VarInfoRecord record;
    for (const MonVariable& variable : database->getVariableList()) {
        fillRecord(variable, record);
        writer.add(record);
    }
    writer.end();
    out << std::endl;
}

}  // namespace owl
