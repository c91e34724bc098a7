// The last-values table (-lastvaluesonly): the header and one line holding
// each selected variable's own last value.

#include "export/ExporterError.h"
#include "export/LastValueField.h"
#include "export/RunHistoryWriter.h"
#include "export/TableFormat.h"
#include "libs/mondata/model/TimestepData.h"

owl::TableField lastValueField(const TimestepData& variable, bool integer,
                               const owl::TableFormat& format) {
    const int step = variable.getLastTimestep(), loop = variable.getLastCloop();
    owl::TableField field{
        variable.getDoubleValue(step, loop), integer, {}, integer ? 0 : format.digitsOf(variable)};
    if (variable.key() != TimestepData::Key::None && field.value != FLT_MAX)
        field.key = variable.key() == TimestepData::Key::Step ? step : loop;
    return field;
}

void RunHistoryWriter::outputLastVarValues() {
    PreparedData data;
    std::vector<std::string> columns;
    prepareData(data, columns, {});
    std::ostream& out = borrowOStream();
    if (header) writeHeader(out, columns);
    const owl::TableFormat format(precision);
    std::vector<owl::TableField> fields;
    for (const std::string& name : columns) {
        auto found = data.find(name);
        if (found == data.end() || !found->second)
            exporter::raise("outputLastVarValues",
                            "Failed to locate variable in prepared data: " + name);
        fields.push_back(lastValueField(*found->second, isKeyField(name), format));
    }
    std::string line;
    format.appendLine(fields, line);
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.flush();
    returnOStream();
}
