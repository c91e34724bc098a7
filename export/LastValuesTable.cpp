// The last-values table (-lastvaluesonly): the header and one line holding
// each selected variable's own last value.

#include "export/ExporterError.h"
#include "export/RunHistoryWriter.h"
#include "export/TableFormat.h"
#include "libs/mondata/TimestepData.h"

void RunHistoryWriter::outputLastVarValues() {
    PreparedData data;
    std::vector<std::string> columns;
    prepareData(data, columns, {});
    std::ostream& out = borrowOStream();
    if (header) writeHeader(out, columns);
    std::vector<float> values;
    std::vector<bool> integer;
    for (const std::string& name : columns) {
        auto found = data.find(name);
        if (found == data.end() || !found->second)
            exporter::raise("outputLastVarValues",
                            "Failed to locate variable in prepared data: " + name);
        const TimestepData& variable = *found->second;
        const int loop = variable.getLastCloop();
        values.push_back(variable.getValue(variable.getLastTimestep(), loop));
        integer.push_back(isKeyField(name));
    }
    std::string line;
    owl::TableFormat(precision).appendLine(values, integer, line);
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.flush();
    returnOStream();
}
