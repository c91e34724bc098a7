#include "monplot/XAxis.h"

#include <QString>

#include "libs/mondata/model/MonDatabase.h"
#include "libs/mondata/model/RecordKey.h"
#include "monplot/PlotOptions.h"

bool hasRecords(const MonDatabase& run) {
    const TimestepData* steps =
        run.getVariable(QString::fromLatin1(mon::kAccumulatedTimestep.c_str()));
    return steps && steps->rows().stepCount() > 0;
}

std::string xAxisOf(const std::string& requested, const std::vector<const MonDatabase*>& runs) {
    if (requested == kStepAxis) return {};
    if (!requested.empty()) return requested;
    bool anyRecords = false;
    for (const MonDatabase* run : runs) {
        if (!hasRecords(*run)) continue;
        anyRecords = true;
        if (!run->stepsNumberedByReader() || !run->getVariable(QStringLiteral("TIME"))) return {};
    }
    return anyRecords ? "TIME" : "";
}
